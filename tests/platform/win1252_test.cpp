#include <gtest/gtest.h>

#include "platform/win1252.h"

TEST(Win1252, EveryByteRoundTrips) {
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    const QString text = win1252::decode(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(win1252::encode(text), all);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(text.at(0xE4), QChar(u'ä'));
    EXPECT_EQ(text.at(0x81), QChar(0x81));
    EXPECT_EQ(win1252::encode(QStringLiteral("€•ß")), QByteArray("\x80\x95\xDF"));
    EXPECT_EQ(win1252::encode(QString(QChar(0x4E2D))), QByteArray("?"));
    EXPECT_FALSE(win1252::encodable(QString(QChar(0x4E2D))));
}
