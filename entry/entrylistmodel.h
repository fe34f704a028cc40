#pragma once
#include <QAbstractListModel>
#include <QStringList>

#include "entrylist.h"

// The entry dialog's list of readings: one entry line per row, in the order
// of the list rules (entrylist). It is the one copy of readings the user has
// typed and not yet saved; it also keeps the readings as the month's file
// held them when the list was filled or saved, so it knows what the user
// changed and what another writer saved meanwhile.
class EntryListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit EntryListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const QStringList &lines() const { return m_lines; }
    // The unit the rows show their values in (the lines stay as stored).
    void setUnit(GlucoseUnit unit);
    bool isEmpty() const { return m_lines.isEmpty(); }
    // The readings of a month as its table file holds them (empty for a new
    // month): the list starts from them.
    void setMonth(const QStringList &lines);
    // Readings added, changed or removed since the month was set or saved.
    bool hasUnsavedChanges() const { return m_lines != m_loaded; }
    // The list was written: the file holds it now.
    void markSaved() { m_loaded = m_lines; }
    // Back to the readings as the month was set or last saved.
    void discardChanges();

    // Row of the entry that holds the reading (slot and date) of the line; -1 when none.
    int find(const QString &line) const { return entrylist::find(m_lines, line); }
    void replace(int row, const QString &line);
    // Appends the reading and puts the list in order.
    void add(const QString &line);
    void remove(int row);
    // Takes in what the table file holds beyond the readings the list was
    // filled with (entrylist::takeNewReadings).
    entrylist::Merged takeNewReadings(const QStringList &fileEntries);

private:
    void setLines(const QStringList &lines);

    QStringList m_lines;
    QStringList m_loaded;
    GlucoseUnit m_unit = GlucoseUnit::MgDl;
};
