#include "schema/schema.h"

namespace quarnel::schema {
namespace {

// The end of the first line of `text` and the length of its line end; -1 for one line.
std::pair<qsizetype, qsizetype> firstLineEnd(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r')
            return {i, (i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1};
        if (text[i] == u'\n')
            return {i, 1};
    }
    return {-1, 0};
}

}  // namespace

const Column* Table::column(const QString& name) const {
    for (const Column& c : columns) {
        if (c.name() == name)
            return &c;
    }
    return nullptr;
}

const Table* Schema::table(const QString& name) const {
    for (const Table& t : tables) {
        if (t.name == name)
            return &t;
    }
    return nullptr;
}

QString commentFirstLine(const QString& comment) {
    const auto [end, length] = firstLineEnd(comment);
    return end < 0 ? comment : comment.left(end);
}

QString commentRest(const QString& comment) {
    const auto [end, length] = firstLineEnd(comment);
    return end < 0 ? QString() : comment.mid(end + length);
}

}  // namespace quarnel::schema
