#include "browse/comment_tips.h"

namespace quarnel {

const catalog::TableComments* CommentTips::shownComments(const QString& shown) {
    if (shown.isEmpty() || !m_state.objOraDatabase)
        return nullptr;
    if (!m_read || m_read->table != shown || m_readFrom != m_state.objOraDatabase.get()) {
        m_readFrom = m_state.objOraDatabase.get();
        // A tooltip is no reason for an error box: a database without these views (or a failed
        // read) just has no comments to show.
        try {
            m_read = catalog::readTableComments(*m_state.objOraDatabase, shown);
        } catch (const std::exception&) {
            m_read = catalog::TableComments{shown, {}, {}};
        }
    }
    return &*m_read;
}

QString CommentTips::tableComment(const QString& table, const QString& shown) {
    if (m_state.schemaModel) {
        const schema::Table* model = m_state.schemaModel->table(table);
        return model != nullptr ? model->comment : QString();
    }
    if (table != shown)
        return {};
    const catalog::TableComments* read = shownComments(shown);
    return read != nullptr ? read->comment : QString();
}

QString CommentTips::columnComment(const QString& table, const QString& column,
                                   const QString& shown) {
    if (m_state.schemaModel) {
        const schema::Table* model = m_state.schemaModel->table(table);
        const schema::Column* c = model != nullptr ? model->column(column) : nullptr;
        return c != nullptr ? c->comment : QString();
    }
    if (table != shown)
        return {};
    const catalog::TableComments* read = shownComments(shown);
    return read != nullptr ? read->columns.value(column) : QString();
}

}  // namespace quarnel
