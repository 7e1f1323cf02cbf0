// The names of a table list, kept as one text in which each name is followed by CR LF, with the
// start of every name. A list of 100,000 tables is then two allocations rather than 100,000, and a
// name becomes a string of its own only when it is asked for.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace quarnel::catalog {

class TableNames {
  public:
    qsizetype size() const { return qsizetype(m_starts.size()); }
    bool isEmpty() const { return m_starts.empty(); }

    void reserve(qsizetype names, qsizetype characters);
    void append(QStringView name);

    // The name at `index` (0 <= index < size()).
    QStringView view(qsizetype index) const;
    QString at(qsizetype index) const { return view(index).toString(); }
    // The first index of `name`, or -1.
    qsizetype indexOf(QStringView name) const;

    // Every name followed by CR LF, in list order.
    const QString& text() const { return m_text; }
    QStringList toStringList() const;

    class const_iterator {
      public:
        const_iterator(const TableNames* names, qsizetype index) : m_names(names), m_index(index) {}
        QString operator*() const { return m_names->at(m_index); }
        const_iterator& operator++() {
            ++m_index;
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return m_index != other.m_index; }

      private:
        const TableNames* m_names;
        qsizetype m_index;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

  private:
    QString m_text;
    std::vector<qsizetype> m_starts;
};

}  // namespace quarnel::catalog
