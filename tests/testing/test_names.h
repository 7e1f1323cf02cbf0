// Names for value-parameterised tests. GoogleTest wants each name of one instantiation unique,
// non-empty and made of ASCII letters, digits and underscores; ctest lists the names, so they are
// made from the case itself and never from its bytes (which hold pointers and change per build).
#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace quarnel::testing {

// "VARCHAR2(20)" -> "VARCHAR2_20": ASCII letters and digits stay, every run of anything else
// becomes one underscore, none at either end; "Case" when nothing is left.
std::string readableName(QStringView text);

// readableName(text), with "_<index>" appended when an earlier case of the same instantiation
// already has that name. GoogleTest asks for the names of one instantiation in order, from index 0.
std::string uniqueName(QStringView text, std::size_t index);

inline QString caseText(const QString& text) {
    return text;
}
inline QString caseText(QStringView text) {
    return text.toString();
}
inline QString caseText(const char16_t* text) {
    return QString::fromUtf16(text);
}
inline QString caseText(const char* text) {
    return QString::fromUtf8(text);
}
inline QString caseText(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
inline QString caseText(const std::string& text) {
    return QString::fromStdString(text);
}

// A number as a name part: "Minus5" for -5, "150_5" (after readableName) for 150.5.
inline QString numberText(double value) {
    return value < 0 ? QStringLiteral("Minus") + QString::number(-value) : QString::number(value);
}

// A name generator: `describe(param)` gives the text a case's name is made from.
template <class Describe>
auto nameFrom(Describe describe) {
    return [describe](const auto& info) {
        return uniqueName(caseText(describe(info.param)), info.index);
    };
}

// A name generator for cases that carry their own `name`.
inline auto byName() {
    return nameFrom([](const auto& c) { return caseText(c.name); });
}

}  // namespace quarnel::testing
