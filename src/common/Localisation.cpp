#include "common/Localisation.h"

#include "common/General.h"
#include "common/Globals.h"
#include "platform/com/ClassRegistry.h"

namespace zel::Localisation {

bool apply(std::string_view formName, std::string_view languageId,
           const std::function<void(const std::string&)>& setCaption, const std::vector<Item>& items)
{
    const std::string& folder = globals().gstrPathData;
    if (!General::CheckLangInDisk(languageId, folder))
        return false;
    auto language = com::ClassRegistry::instance().createAs<ILanguageFile>(kClsidLanguageFile);
    if (!language->Open(languageId, folder))
        return false;

    // From here on a failing step is skipped and the next one runs: a missing key leaves that
    // one text as it was.
    try {
        const std::string caption = " " + language->Text(formName, "Caption");
        if (setCaption)
            setCaption(caption);
    } catch (...) {
    }
    for (const Item& item : items) {
        try {
            item.apply(language->Text(formName, item.key));
        } catch (...) {
        }
    }
    return true;
}

std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next >= '1' && next <= '9' && static_cast<std::size_t>(next - '1') < values.size()) {
            out += values.begin()[next - '1'];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace zel::Localisation
