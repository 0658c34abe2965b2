// The chat window on its own: its log, its input line and its pop-up, without a session.

#include "MessageRecorder.h"
#include "TestFolder.h"
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

// The log keeps the last 256 lines, one per entry; the pop-up shows the window only when
// checked, and the setting follows the box. Without a session a sent line is cleared with
// the send sound and no entry, and an empty one plays nothing.
TEST(ChatTest, LogPopUpAndSending) {
    TestFolder folder;
    folder.LayShippedData();
    TRunData data{folder.Program()};
    TPresentation look{data.Texts, data.Folder, MessageRecorder::Messages()};
    TNetPlayFields& NetPlayFields = data.NetPlay;
    FakeSoundScope sound{look.Sounds};
    TConnectionWindow config{look, NetPlayFields};
    TChatWindow chat{look, NetPlayFields, config};
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

    chat.Memo->clear();
    chat.Edit->setText("hi");
    QTest::mouseClick(chat.SendButton, Qt::LeftButton);
    const auto& played = sound.Sound().Played;
    ASSERT_EQ(played.size(), 1u);
    EXPECT_TRUE(played[0].first.endsWith("send.wav"));
    EXPECT_TRUE(chat.Edit->text().isEmpty() && chat.Memo->toPlainText().isEmpty());
    QTest::mouseClick(chat.SendButton, Qt::LeftButton);
    EXPECT_EQ(played.size(), 1u);
}
