#include "data/sqlite/pinyinfunction.h"

#include "data/pinyin.h"

#include <sqlite3.h>

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vantrel::sqlite {
namespace {

// The initials each connection has worked out, by the name's UTF-8 text.
struct InitialsCache
{
    struct Hash
    {
        using is_transparent = void;
        size_t operator()(std::string_view text) const
        {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> initials;
};

// Far more names than a data file holds; a cache this full starts again rather than grow on.
constexpr size_t kCacheLimit = 200000;

void InitialsFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    if (!text) {
        sqlite3_result_null(context);
        return;
    }
    const std::string_view key(text, size_t(sqlite3_value_bytes(arguments[0])));
    auto& cache = static_cast<InitialsCache*>(sqlite3_user_data(context))->initials;
    auto found = cache.find(key);
    if (found == cache.end()) {
        if (cache.size() >= kCacheLimit)
            cache.clear();
        const QString name = QString::fromUtf8(key.data(), qsizetype(key.size()));
        found = cache.emplace(std::string(key), PinyinInitials(name).toStdString()).first;
    }
    sqlite3_result_text(context, found->second.data(), int(found->second.size()), SQLITE_TRANSIENT);
}

} // namespace

int RegisterPinyinFunction(sqlite3* db)
{
    // SQLite frees the cache with the connection, or at once when registering fails.
    return sqlite3_create_function_v2(
        db, kInitialsFunction, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
        new InitialsCache, InitialsFunction, nullptr, nullptr,
        [](void* cache) { delete static_cast<InitialsCache*>(cache); });
}

} // namespace vantrel::sqlite
