#include "entrylistmodel.h"

EntryListModel::EntryListModel(QObject *parent) : QAbstractListModel(parent) {}

int EntryListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_lines.size());
}

QVariant EntryListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_lines.size()) return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return entrylist::shownLine(m_lines.at(index.row()), m_unit);
    return {};
}

void EntryListModel::setUnit(GlucoseUnit unit) {
    if (unit == m_unit) return;
    m_unit = unit;
    if (!m_lines.isEmpty()) emit dataChanged(index(0), index(int(m_lines.size()) - 1));
}

void EntryListModel::setLines(const QStringList &lines) {
    beginResetModel();
    m_lines = lines;
    endResetModel();
}

void EntryListModel::setMonth(const QStringList &lines) {
    m_loaded = lines;
    setLines(lines);
}

void EntryListModel::discardChanges() {
    setLines(m_loaded);
}

void EntryListModel::replace(int row, const QString &line) {
    if (row < 0 || row >= m_lines.size()) return;
    m_lines[row] = line;
    emit dataChanged(index(row), index(row));
}

void EntryListModel::add(const QString &line) {
    QStringList l = m_lines;
    l.append(line);
    setLines(entrylist::sorted(l));
}

void EntryListModel::remove(int row) {
    if (row < 0 || row >= m_lines.size()) return;
    beginRemoveRows(QModelIndex(), row, row);
    m_lines.removeAt(row);
    endRemoveRows();
}

entrylist::Merged EntryListModel::takeNewReadings(const QStringList &fileEntries) {
    QStringList l = m_lines;
    const entrylist::Merged merged = entrylist::takeNewReadings(l, m_loaded, fileEntries);
    if (!merged.taken.isEmpty()) setLines(l);
    return merged;
}
