#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace {
QByteArray Cp(const char* utf8) {
    return CodePage::FromUnicode(QString::fromUtf8(utf8));
}
} // namespace

// Small and capital letters of both alphabets compare equal, YO with its capital; the order is
// by folded bytes, a prefix before its extensions; every Cyrillic letter survives Unicode.
TEST(CodePage, FoldsOrdersAndConvertsBothAlphabets) {
    EXPECT_EQ(CodePage::CompareNoCase(Cp("ёж кошка"), Cp("ЁЖ КОШКА")), 0);
    EXPECT_EQ(CodePage::ToUpper(Cp("ёлка dog")), Cp("ЁЛКА DOG"));
    EXPECT_LT(CodePage::CompareNoCase("ab", "AC"), 0);
    EXPECT_LT(CodePage::CompareNoCase("CAT", "cats"), 0);
    EXPECT_GT(CodePage::CompareNoCase(Cp("я"), Cp("А")), 0);
    const QString text = QString::fromUtf8("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ Ё abc");
    EXPECT_EQ(CodePage::FromUnicode(text).first(1), "\xC0");
    EXPECT_EQ(CodePage::ToUnicode(CodePage::FromUnicode(text)), text);
}

// A character the code page lacks becomes one "?", never the control byte 0x1A; a name made
// fit for a line of a file carries no control byte at all.
TEST(CodePage, MarksWhatItLacksWithAQuestionMark) {
    EXPECT_EQ(Cp("José"), "Jos?");
    EXPECT_EQ(Cp("Müller \xF0\x9F\x98\x80!"), "M?ller ?!");
    EXPECT_EQ(CodePage::ToUnicode(Cp("Пётр №5 €")), QString::fromUtf8("Пётр №5 €"));
    EXPECT_EQ(CodePage::OneLine("a\tb\r\nc\x01\x1a\x7f"
                                "d \xC0"),
              "a b  c???d \xC0");
}
