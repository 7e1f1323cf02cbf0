#include "testing/test_names.h"

#include <algorithm>
#include <vector>

namespace quarnel::testing {

std::string readableName(QStringView text) {
    std::string name;
    bool gap = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const bool kept =
            (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
        if (!kept) {
            gap = true;
            continue;
        }
        if (gap && !name.empty())
            name += '_';
        gap = false;
        name += char(u);
    }
    return name.empty() ? std::string("Case") : name;
}

std::string uniqueName(QStringView text, std::size_t index) {
    // The names given so far in the instantiation being registered.
    static std::vector<std::string> given;
    if (index == 0)
        given.clear();
    std::string name = readableName(text);
    if (std::find(given.begin(), given.end(), name) != given.end())
        name += '_' + std::to_string(index);
    given.push_back(name);
    return name;
}

}  // namespace quarnel::testing
