// The comments the main window shows as tooltips: a table's on its entry in the table list, a
// column's on its NAME cell in the grid. They come from the whole-schema model once it is
// loaded; before that, for the table the grid shows, from one read of that table's comments.
#pragma once

#include "catalog/comments.h"
#include "shell/app_state.h"

#include <optional>

namespace quarnel {

class CommentTips {
  public:
    explicit CommentTips(AppState& state) : m_state(state) {}

    // `shown` is the table the grid shows (empty when none). Empty when no comment is known.
    QString tableComment(const QString& table, const QString& shown);
    QString columnComment(const QString& table, const QString& column, const QString& shown);
    // Forgets what was read (disconnect, another table shown).
    void forget() { m_read.reset(); }

  private:
    // The shown table's comments, read once; none when unreadable.
    const catalog::TableComments* shownComments(const QString& shown);

    AppState& m_state;
    std::optional<catalog::TableComments> m_read;
    // The database m_read came from.
    const db::Database* m_readFrom = nullptr;
};

}  // namespace quarnel
