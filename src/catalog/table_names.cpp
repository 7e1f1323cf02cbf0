#include "catalog/table_names.h"

#include "support/line_end.h"

namespace quarnel::catalog {

void TableNames::reserve(qsizetype names, qsizetype characters) {
    m_starts.reserve(size_t(names));
    m_text.reserve(characters);
}

void TableNames::append(QStringView name) {
    m_starts.push_back(m_text.size());
    m_text.append(name).append(kCrLf);
}

QStringView TableNames::view(qsizetype index) const {
    const qsizetype start = m_starts[size_t(index)];
    const qsizetype end =
        size_t(index) + 1 < m_starts.size() ? m_starts[size_t(index) + 1] : m_text.size();
    return QStringView(m_text).mid(start, end - start - kCrLf.size());
}

qsizetype TableNames::indexOf(QStringView name) const {
    for (qsizetype i = 0; i < size(); ++i) {
        if (view(i) == name)
            return i;
    }
    return -1;
}

QStringList TableNames::toStringList() const {
    QStringList names;
    names.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        names.append(at(i));
    return names;
}

}  // namespace quarnel::catalog
