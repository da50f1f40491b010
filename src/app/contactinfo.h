#pragma once

// Where users reach the makers of Vantrel: the help menu's "访问网站" and "给我来信" open these,
// and the help's "关于" page names them. Nothing else spells them out.
inline constexpr char16_t kVantrelWebSite[] = u"https://www.vantrel.cn";
inline constexpr char16_t kVantrelSupportMail[] = u"support@vantrel.cn";
