#include "ui/TexturesWindow.h"
#include "MessageRecorder.h"
#include "TestFolder.h"
#include "platform/CodePage.h"
#include "platform/PictureDecoder.h"
#include "platform/TexturedLabel.h"
#include "ui/Skins.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TexturesWindow : public ::testing::Test {
protected:
    TexturesWindow() {
        folder.LayShippedData();
        for (QByteArray& name : ImageNames)
            name.clear();
    }
    ~TexturesWindow() override {
        UseSkins = true;
        SkinName.clear();
    }

    QStringList SkinList() const {
        QStringList names;
        for (int i = 0; i < window->ComboBox1->count(); ++i)
            names.append(window->ComboBox1->itemText(i));
        return names;
    }
    void ClickFile(const QString& name) {
        QListWidget* list = window->FileListBox1;
        const QListWidgetItem* item = list->findItems(name, Qt::MatchExactly).value(0);
        ASSERT_NE(item, nullptr) << name.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
    }
    QImage Picture(const QString& relative) const {
        return PictureDecoder::LoadPicture(folder.Path("Textures/" + relative))
            .convertToFormat(QImage::Format_RGB32);
    }
    static QImage Slot(int slot) {
        return SkinBitmaps[slot].toImage().convertToFormat(QImage::Format_RGB32);
    }

    TestFolder folder;
    MessageRecorder messages;
    std::unique_ptr<TTexturesWindow> window;
};

} // namespace

// Texture mode: a clicked file becomes the selected slot's texture, and reset gives the
// slot back to the default skin. The stored skin name survives though its list was never
// filled in this run.
TEST_F(TexturesWindow, TextureModeChoosesAndResetsSlotBySlot) {
    UseSkins = false;
    SkinName = "Marble";
    window = std::make_unique<TTexturesWindow>();
    window->show();
    EXPECT_EQ(SkinName, "Marble");

    window->CoolListBox->setCurrentRow(SlotCell);
    ClickFile("Maple.jpg");
    EXPECT_EQ(ImageNames[SlotCell], "Maple.jpg");
    EXPECT_EQ(Slot(SlotCell), Picture("Maple.jpg"));
    EXPECT_EQ(window->FileListBox1->currentItem()->text(), "Maple.jpg");

    QTest::mouseClick(window->CoolResetButton, Qt::LeftButton);
    EXPECT_TRUE(ImageNames[SlotCell].isEmpty());
    EXPECT_EQ(Slot(SlotCell), Picture("Default skin/1.jpg"));

    QTest::mouseClick(window->UseSkinsCheckBox, Qt::LeftButton);
    EXPECT_TRUE(UseSkins);
    EXPECT_EQ(Slot(SlotCell), Picture("Marble/1.jpg"));
}

// Only names that the settings file can hold in its code page are offered: a Cyrillic name
// is chosen, kept and opened again; "Café" (no "é" in the code page) is not listed at all.
TEST_F(TexturesWindow, OffersOnlyNamesTheSettingsFileCanHold) {
    for (const char* name :
         {"Textures/Café.jpg", "Textures/Дуб.jpg", "Textures/Café/1.jpg", "Textures/Кедр/1.jpg"})
        folder.Write(QString::fromUtf8(name), folder.Read("Textures/Maple.jpg"));
    UseSkins = false;
    window = std::make_unique<TTexturesWindow>();
    window->show();
    EXPECT_TRUE(
        window->FileListBox1->findItems(QString::fromUtf8("Café.jpg"), Qt::MatchExactly).isEmpty());

    window->CoolListBox->setCurrentRow(SlotCell);
    ClickFile(QString::fromUtf8("Дуб.jpg"));
    EXPECT_EQ(CodePage::ToUnicode(ImageNames[SlotCell]), QString::fromUtf8("Дуб.jpg"));
    LoadSkinImages();
    EXPECT_EQ(CodePage::ToUnicode(ImageNames[SlotCell]), QString::fromUtf8("Дуб.jpg"));
    EXPECT_EQ(Slot(SlotCell), Picture("Maple.jpg"));

    QTest::mouseClick(window->UseSkinsCheckBox, Qt::LeftButton);
    EXPECT_TRUE(SkinList().contains(QString::fromUtf8("Кедр")));
    EXPECT_FALSE(SkinList().contains(QString::fromUtf8("Café")));
}
