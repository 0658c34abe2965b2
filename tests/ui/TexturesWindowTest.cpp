#include "ui/TexturesWindow.h"
#include "TestRun.h"
#include "platform/CodePage.h"
#include "platform/PictureDecoder.h"
#include "platform/TexturedLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TexturesWindow : public ::testing::Test, protected TestRun {
protected:
    TexturesWindow() { folder.LayShippedData(); }

    QStringList SkinList() const {
        QStringList names;
        for (int i = 0; i < window->SkinBox->count(); ++i)
            names.append(window->SkinBox->itemText(i));
        return names;
    }
    void ClickFile(const QString& name) {
        QListWidget* list = window->FileList;
        const QListWidgetItem* item = list->findItems(name, Qt::MatchExactly).value(0);
        ASSERT_NE(item, nullptr) << name.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
    }
    QImage Picture(const QString& relative) const {
        return PictureDecoder::LoadPicture(folder.Path("Textures/" + relative))
            .convertToFormat(QImage::Format_RGB32);
    }
    QImage Slot(int slot) const {
        return skins[slot].toImage().convertToFormat(QImage::Format_RGB32);
    }

    MessageRecorder messages;
    TSkins& skins = look.Skins;
    std::unique_ptr<TTexturesWindow> window;
};

} // namespace

// Texture mode: a clicked file becomes the selected slot's texture, and reset gives the
// slot back to the default skin. The stored skin name survives though its list was never
// filled in this run.
TEST_F(TexturesWindow, TextureModeChoosesAndResetsSlotBySlot) {
    skins.UseSkins = false;
    skins.SkinName = "Marble";
    window = std::make_unique<TTexturesWindow>(look);
    window->show();
    EXPECT_EQ(skins.SkinName, "Marble");

    window->SlotList->setCurrentRow(SlotCell);
    ClickFile("Maple.jpg");
    EXPECT_EQ(skins.ImageNames[SlotCell], "Maple.jpg");
    EXPECT_EQ(Slot(SlotCell), Picture("Maple.jpg"));
    EXPECT_EQ(window->FileList->currentItem()->text(), "Maple.jpg");

    QTest::mouseClick(window->ResetButton, Qt::LeftButton);
    EXPECT_TRUE(skins.ImageNames[SlotCell].isEmpty());
    EXPECT_EQ(Slot(SlotCell), Picture("Default skin/1.jpg"));

    QTest::mouseClick(window->UseSkinsCheckBox, Qt::LeftButton);
    EXPECT_TRUE(skins.UseSkins);
    EXPECT_EQ(Slot(SlotCell), Picture("Marble/1.jpg"));
}

// Only names that the settings file can hold in its code page are offered: a Cyrillic name
// is chosen, kept and opened again; "Café" (no "é" in the code page) is not listed at all.
// With no skin chosen yet, the skin list shows the default skin the windows wear.
TEST_F(TexturesWindow, OffersOnlyNamesTheSettingsFileCanHold) {
    for (const char* name :
         {"Textures/Café.jpg", "Textures/Дуб.jpg", "Textures/Café/1.jpg", "Textures/Кедр/1.jpg"})
        folder.Write(QString::fromUtf8(name), folder.Read("Textures/Maple.jpg"));
    skins.UseSkins = false;
    window = std::make_unique<TTexturesWindow>(look);
    window->show();
    EXPECT_TRUE(
        window->FileList->findItems(QString::fromUtf8("Café.jpg"), Qt::MatchExactly).isEmpty());

    window->SlotList->setCurrentRow(SlotCell);
    ClickFile(QString::fromUtf8("Дуб.jpg"));
    EXPECT_EQ(CodePage::ToUnicode(skins.ImageNames[SlotCell]), QString::fromUtf8("Дуб.jpg"));
    skins.LoadSkinImages();
    EXPECT_EQ(CodePage::ToUnicode(skins.ImageNames[SlotCell]), QString::fromUtf8("Дуб.jpg"));
    EXPECT_EQ(Slot(SlotCell), Picture("Maple.jpg"));

    QTest::mouseClick(window->UseSkinsCheckBox, Qt::LeftButton);
    EXPECT_TRUE(SkinList().contains(QString::fromUtf8("Кедр")));
    EXPECT_FALSE(SkinList().contains(QString::fromUtf8("Café")));
    EXPECT_EQ(window->SkinBox->currentText(), DefaultSkinName);
}
