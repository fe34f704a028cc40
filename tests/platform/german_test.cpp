#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>

#include "platform/german.h"
#include "platform/germaninterface.h"

TEST(German, DatesWeekdaysAndNumbers) {
    const QDate d(2026, 12, 7);
    EXPECT_EQ(german::date(d), "07.12.2026");
    EXPECT_EQ(german::longDate(d), "Montag, 7. Dezember 2026");
    EXPECT_EQ(german::weekday(d), "Montag");
    EXPECT_EQ(german::weekday(QDate()), "");
    EXPECT_EQ(german::number(143.567, 2), "143,57");
    // No thousands separator: the text reads back as the same number.
    EXPECT_EQ(german::number(4960.5, 1), "4960,5");
    // Comma or point; no thousands separator, no words (-1: not a number).
    const std::pair<const char *, double> numbers[] = {
        {"5,5", 5.5}, {" 4960,5 ", 4960.5}, {"5.5", 5.5}, {"fünf", -1}, {"1.234,5", -1}};
    for (const auto &[text, value] : numbers) {
        bool ok = false;
        const double read = german::toNumber(QString::fromUtf8(text), &ok);
        EXPECT_EQ(ok ? read : -1.0, value) << text;
    }
}

TEST(German, SetUpMakesQtGermanWhateverTheSystemLocaleAndTearDownTakesItBack) {
    const QLocale before = QLocale();
    QLocale::setDefault(QLocale::c());
    const QString lookIn = QStringLiteral("Look in:");
    ASSERT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), lookIn);

    ASSERT_TRUE(german::setUp()) << "qtbase_de.qm (qt6-translations-l10n) not found";
    EXPECT_TRUE(german::setUp()); // a second call changes nothing
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Suchen in:");
    EXPECT_EQ(QCoreApplication::translate("QColorDialog", "&Basic colors"), "Grundfar&ben");
    EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
    EXPECT_EQ(QLocale().language(), QLocale::German);

    german::tearDown();
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), lookIn);
    EXPECT_EQ(QLocale(), QLocale::c());
    EXPECT_FALSE(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
    QLocale::setDefault(before);
}
