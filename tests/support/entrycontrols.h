#pragma once
// The entry dialog's controls, found by their object names, and what a user
// does with them: typing into a field, clicking a button, choosing a line.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>

class EntryControls {
public:
    explicit EntryControls(QWidget *dialog) : m_dialog(dialog) {}
    QWidget *dialog() const { return m_dialog; }

    template <class T> T *get(const char *name) const {
        T *c = m_dialog->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QPushButton *button(const char *name) const { return get<QPushButton>(name); }
    QAbstractSpinBox *spin(const char *name) const { return get<QAbstractSpinBox>(name); }
    QAbstractItemView *list() const { return get<QAbstractItemView>("ListBox1"); }
    QString text(const char *name) const {
        if (auto *l = m_dialog->findChild<QLabel *>(QString::fromLatin1(name))) return l->text();
        if (auto *s = m_dialog->findChild<QAbstractSpinBox *>(QString::fromLatin1(name)))
            return s->text();
        if (auto *b = m_dialog->findChild<QPushButton *>(QString::fromLatin1(name)))
            return b->text();
        return get<QLineEdit>(name)->text();
    }

    // The lines of the entry list, top to bottom.
    QStringList lines() const {
        QStringList out;
        const QAbstractItemModel *m = list()->model();
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->index(r, 0).data().toString();
        return out;
    }
    int selectedRow() const {
        const QModelIndexList s = list()->selectionModel()->selectedIndexes();
        return s.isEmpty() ? -1 : s.first().row();
    }
    void select(int row) const { list()->setCurrentIndex(list()->model()->index(row, 0)); }

    void click(const char *name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    // Types into a field as a user does: click, select all, then the keys
    // (the date and value fields and the time field "Edit1").
    void type(const char *name, const QString &text) const {
        QLineEdit *edit = lineEdit(name);
        ASSERT_NE(edit, nullptr) << name;
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
    }
    // Return in a field (the value field's Return adds the reading).
    void pressReturn(const char *name) const {
        QLineEdit *edit = lineEdit(name);
        ASSERT_NE(edit, nullptr) << name;
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // A reading typed into the fields and added with "In Liste aufnehmen".
    void add(int day, const QString &time, int value) const {
        type("SpinEdit1", QString::number(day));
        type("Edit1", time);
        type("SpinEdit4", QString::number(value));
        click("BitBtn1");
    }

private:
    // The line edit of a field: the field itself or the one inside it.
    QLineEdit *lineEdit(const char *name) const {
        QWidget *field = m_dialog->findChild<QWidget *>(QString::fromLatin1(name));
        QLineEdit *edit = qobject_cast<QLineEdit *>(field);
        return edit || !field ? edit : field->findChild<QLineEdit *>();
    }
    QWidget *m_dialog;
};
