#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zel::Localisation {

// One localised item of a form: the language-file key and what to do with its text (set a
// caption, a tooltip, or a message variable).
struct Item
{
    std::string key;
    std::function<void(const std::string&)> apply;
};

// Puts a form's texts in languageId on its items, as every form's ChangeLanguage does:
// nothing happens when "<gstrPathData>/<languageId>.lng" does not exist or the language-text
// component cannot open it (the function returns false). Otherwise the caption is set to one
// blank followed by the "Caption" text of the section formName, then every item in order; an
// item whose key cannot be read is skipped and keeps its text. Failures before the texts are
// read (the component cannot be created) are raised.
bool apply(std::string_view formName, std::string_view languageId,
           const std::function<void(const std::string&)>& setCaption, const std::vector<Item>& items);

// A language text with %1 to %9 replaced by the values, in one pass: a value is never searched
// for placeholders itself, and a placeholder without a value, or a text without placeholders (a
// translation may leave a number out), stays as it is.
std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values);

} // namespace zel::Localisation
