#include "MessageRecorder.h"
#include "TestFolder.h"
#include "platform/CodePage.h"
#include "platform/PictureDecoder.h"
#include "ui/Skins.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class SkinLoading : public ::testing::Test {
protected:
    SkinLoading() { folder.LayShippedData(); }

    // A plain picture written by Qt's own writers, in the format of the name's extension.
    void WritePicture(const QString& relative, QColor colour) const {
        QImage image(24, 24, QImage::Format_RGB32);
        image.fill(colour);
        QDir().mkpath(QFileInfo(folder.Path(relative)).path());
        ASSERT_TRUE(image.save(folder.Path(relative), nullptr, 95));
    }

    QImage DefaultPicture(int slot) const {
        return PictureDecoder::LoadPicture(
            folder.Path(QString("Textures/Default skin/%1.jpg").arg(slot)));
    }

    bool ShowsDefault(int slot) const {
        return skins[slot].toImage().convertToFormat(QImage::Format_RGB32) ==
               DefaultPicture(slot).convertToFormat(QImage::Format_RGB32);
    }

    bool Shows(int slot, QColor colour) const {
        const QColor seen = skins[slot].toImage().pixelColor(12, 12);
        return std::abs(seen.red() - colour.red()) < 12 &&
               std::abs(seen.green() - colour.green()) < 12 &&
               std::abs(seen.blue() - colour.blue()) < 12;
    }

    TestFolder folder;
    MessageRecorder messages;
    TSkins skins{folder.Program(), MessageRecorder::Messages()};
};

} // namespace

// In a skin folder a slot file is found whatever the letter case of its extension, ".jpg"
// wins over ".bmp", a lone ".bmp" serves, and missing slots fall back one by one to the
// default skin.
TEST_F(SkinLoading, SkinSlotsPreferJpgInAnyCaseAndFallBackPerSlot) {
    const auto writeAs = [this](const QString& lower, const QString& name, QColor colour) {
        WritePicture("Textures/Cased/" + lower, colour);
        ASSERT_TRUE(QFile::rename(folder.Path("Textures/Cased/" + lower),
                                  folder.Path("Textures/Cased/" + name)));
    };
    writeAs("0.jpg", "0.JPG", Qt::red);
    WritePicture("Textures/Cased/1.bmp", Qt::blue);
    writeAs("3.bmp", "3.Bmp", Qt::blue);
    writeAs("4.bmp", "4.BMP", Qt::red);
    writeAs("4.jpg", "4.jPg", Qt::green);
    skins.SkinName = "Cased";
    skins.LoadSkinImages();
    EXPECT_TRUE(Shows(0, Qt::red));
    EXPECT_TRUE(Shows(1, Qt::blue));
    EXPECT_TRUE(Shows(3, Qt::blue));
    EXPECT_TRUE(Shows(4, Qt::green));
    for (int slot : {2, 5, 6, 7, 8})
        EXPECT_TRUE(ShowsDefault(slot)) << slot;
    EXPECT_TRUE(messages.Shown.isEmpty());
}

// A texture chosen for two slots is decoded once: both slots share one picture. A texture
// whose file is gone shows the default picture and its name is cleared, so the next save
// writes an empty value; a texture that is there keeps its name.
TEST_F(SkinLoading, TexturesAreSharedAndMissingOnesForgotten) {
    WritePicture("Textures/Oak.jpg", QColor(200, 150, 90));
    skins.UseSkins = false;
    skins.ImageNames[1] = skins.ImageNames[2] = "Oak.jpg";
    skins.ImageNames[5] = "Deleted.jpg";
    skins.LoadSkinImages();
    EXPECT_TRUE(Shows(1, QColor(200, 150, 90)));
    EXPECT_EQ(skins[1].cacheKey(), skins[2].cacheKey());
    EXPECT_EQ(skins.ImageNames[1], "Oak.jpg");
    EXPECT_TRUE(ShowsDefault(5));
    EXPECT_TRUE(skins.ImageNames[5].isEmpty());
    EXPECT_TRUE(ShowsDefault(0));
    EXPECT_TRUE(messages.Shown.isEmpty());
}

// A picture that does not decode (cut short, garbage, unknown extension) names itself in one
// message, keeps its name and leaves the slot with the default picture; the run goes on. A
// broken file in a skin folder is named by its place in the skin.
TEST_F(SkinLoading, UndecodablePicturesGiveAMessageAndTheDefault) {
    WritePicture("Textures/Whole.jpg", Qt::yellow);
    folder.Write("Textures/Cut.jpg", folder.Read("Textures/Whole.jpg").left(200));
    folder.Write("Textures/Noise.jpg", QByteArray(500, '\x5a'));
    folder.Write("Textures/Picture.png", folder.Read("Textures/Whole.jpg"));
    skins.UseSkins = false;
    skins.ImageNames[1] = skins.ImageNames[2] = "Cut.jpg";
    skins.ImageNames[3] = "Noise.jpg";
    skins.ImageNames[4] = "Picture.png";
    skins.LoadSkinImages();
    EXPECT_EQ(messages.Shown,
              QStringList({"Unknown graphic format : Cut.jpg", "Unknown graphic format : Noise.jpg",
                           "Unknown graphic format : Picture.png"}));
    for (int slot : {1, 2, 3, 4})
        EXPECT_TRUE(ShowsDefault(slot)) << slot;
    EXPECT_EQ(skins.ImageNames[1], "Cut.jpg");

    messages.Shown.clear();
    folder.Write("Textures/Broken/3.jpg", QByteArray("\xff\xd8\xff\xe0 not really", 16));
    skins.UseSkins = true;
    skins.SkinName = "Broken";
    skins.LoadSkinImages();
    EXPECT_EQ(messages.Shown, QStringList({"Unknown graphic format : Broken/3.jpg"}));
    EXPECT_TRUE(ShowsDefault(3));
}
