#pragma once

#include "kit/skinimage.h"

#include <QColor>
#include <QPalette>
#include <QString>

#include <map>
#include <memory>
#include <utility>
#include <vector>

// A window resource of a skin ("Dialog", "MainFrame", "PopupMenu"): a Qt widget style, palette
// colours and a style sheet.
struct SSkinResource
{
    QString styleName; // empty keeps the current style
    std::vector<std::pair<QPalette::ColorRole, QColor>> colours;
    QString styleSheet;

    QPalette AppliedTo(QPalette base) const;
};

// A drawing object of a skin ("SkinOutlookBar"): named images and named colours.
struct SSkinObject
{
    std::map<QString, CSkinImage> images;
    std::map<QString, QColor> colours;
};

// A skin file, read and checked as a whole.
//
// The text is INI-like. Lines starting with # or ; are comments. [Skin] names the skin
// (Name, Format = 1). [Colors] defines colours that any later value uses as @name. A window
// resource section ([Dialog], [MainFrame], [PopupMenu]) takes Style, palette roles (Window,
// Button, Highlight, ...) and a StyleSheet written between "<<<" and a line ">>>"; the images
// a style sheet names with a relative url(...) lie beside the skin file. A section
// [Object] holds the object's colours and [Object.Image] describes one of its images (see
// CSkinImage::SetProperty).
class CSkinFile
{
public:
    // nullptr with a reason when the file is missing or not a well-formed skin.
    static std::unique_ptr<CSkinFile> Load(const QString& path, QString* error);
    static std::unique_ptr<CSkinFile> Parse(const QString& text, const QString& baseDir,
                                            QString* error);

    const QString& Name() const { return m_name; }
    const SSkinResource* Resource(const QString& name) const;
    // Shared so an opened object stays valid while the skin is replaced.
    std::shared_ptr<const SSkinObject> Object(const QString& name) const;

private:
    QString m_name;
    std::map<QString, SSkinResource> m_resources;
    std::map<QString, std::shared_ptr<SSkinObject>> m_objects;
};
