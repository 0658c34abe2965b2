// The chat window on its own: its log, its input line and its pop-up, without a session.

#include "TestFolder.h"
#include "dictionary/Dictionary.h"
#include "platform/TexturedLabel.h"
#include "settings/RunData.h"
#include "ui/ChatWindow.h"
#include "ui/ConnectionWindow.h"
#include "ui/FakeSound.h"
#include "ui/Presentation.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ChatTest : public ::testing::Test {
protected:
    ChatTest() {
        folder.LayShippedData();
        data.Words.LanguageName = "English";
        config.PlayerNameEdit->setText("Me");
    }

    TestFolder folder;
    TRunData data;
    TPresentation look{data.Texts};
    TNetPlayFields& NetPlayFields = data.NetPlay;
    FakeSoundScope sound{look.Sounds};
    TConnectionWindow config{look, NetPlayFields};
    TChatWindow chat{look, NetPlayFields, config};
};

} // namespace

// The log keeps the last 256 lines, one per entry; the pop-up shows the window only when
// checked, and the setting follows the box; the caption names no peer without one.
TEST_F(ChatTest, LogAndPopUp) {
    chat.AutoPopUpChatCheckBox->setChecked(false);
    EXPECT_FALSE(NetPlayFields.AutoPopUpChat);
    for (int i = 1; i <= 257; ++i)
        chat.AddLine("line " + QByteArray::number(i));
    chat.AddLine("two\r\nlines");
    const QStringList lines = chat.Memo->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), TChatWindow::MaxLines);
    EXPECT_EQ(lines.first(), "line 3");
    EXPECT_EQ(lines.last(), "two  lines");
    EXPECT_TRUE(chat.isHidden());

    chat.AutoPopUpChatCheckBox->setChecked(true);
    chat.AddLine("loud");
    EXPECT_TRUE(chat.isVisible());
    EXPECT_EQ(chat.windowTitle(), data.Texts.GetTextU("Menu_Chat") + " ( Me -  )");
}

// Keys click, Backspace is silent, Enter sends; without a session a sent line is cleared
// with the send sound and no entry; an empty line sends nothing and plays nothing; the
// focus always ends in the input line.
TEST_F(ChatTest, SendingAndKeys) {
    chat.show();
    chat.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&chat));
    QTest::keyClicks(chat.Edit, "hi");
    QTest::keyClick(chat.Edit, Qt::Key_Backspace);
    QTest::keyClick(chat.Edit, Qt::Key_Return);
    const auto& played = sound.Sound().Played;
    ASSERT_EQ(played.size(), 3u);
    EXPECT_TRUE(played[1].first.endsWith("click3.wav"));
    EXPECT_EQ(played[1].second, ISoundOutput::Mode::Async);
    EXPECT_TRUE(played[2].first.endsWith("send.wav"));
    EXPECT_EQ(played[2].second, ISoundOutput::Mode::Async);
    EXPECT_EQ(chat.Edit->text(), "");
    EXPECT_EQ(chat.Memo->toPlainText(), "");

    chat.Memo->setFocus();
    EXPECT_TRUE(chat.Edit->hasFocus());
    chat.AutoPopUpChatCheckBox->setFocus();
    QTest::mouseClick(chat.SendButton, Qt::LeftButton);
    EXPECT_EQ(played.size(), 3u);
    EXPECT_TRUE(chat.Edit->hasFocus());
}
