#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>

// Blowfish (16 rounds, the published tables) in ECB mode, as the stored passwords use it.
// Each 8-byte block is taken as two 32-bit little-endian words, the first four bytes forming
// the left half; input is zero-filled to whole blocks.
class CBlowfish
{
public:
    // The key of the stored passwords.
    static constexpr char kPasswordKey[] = "MintLark";

    explicit CBlowfish(const QByteArray& key);

    void EncipherWords(quint32& left, quint32& right) const;
    void DecipherWords(quint32& left, quint32& right) const;
    // Zero-fills to a multiple of 8 bytes (nothing is added to a multiple of 8, nothing comes
    // of an empty input) and enciphers every block by itself.
    QByteArray Encrypt(const QByteArray& plain) const;
    // Deciphers whole blocks; a trailing partial block is zero-filled first.
    QByteArray Decrypt(const QByteArray& cipher) const;

    // Password (code-page bytes) to its stored text: upper-case hexadecimal, two digits a byte.
    static QString EncryptPassword(const QString& password);
    // Stored text back to the password: the bytes up to the first zero byte.
    static QString DecryptPassword(const QString& stored);
    // The byte comparison sign-in makes between a typed password and a stored text.
    static bool PasswordMatches(const QString& typed, const QString& stored);

    // Hexadecimal text form of the stored passwords.
    static QString ToHex(const QByteArray& bytes);
    static QByteArray FromHex(const QString& text);

private:
    quint32 F(quint32 x) const;

    std::array<quint32, 18> m_p;
    std::array<std::array<quint32, 256>, 4> m_s;
};
