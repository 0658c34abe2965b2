#include "ui/Skins.h"

#include "platform/CodePage.h"
#include "platform/Messages.h"
#include "platform/PictureDecoder.h"
#include "platform/ProgramFolder.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/MainWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <vector>

namespace {

// The slot's picture in a skin folder: "N.jpg", else "N.bmp", the extension in any letter
// case; empty when there is neither.
QString SlotFile(const QString& folder, int slot) {
    const QDir dir(folder);
    for (const char* extension : {"jpg", "bmp"}) {
        // Name filters ignore letter case unless told otherwise.
        const QStringList found =
            dir.entryList({QString("%1.%2").arg(slot).arg(extension)}, QDir::Files, QDir::Name);
        if (!found.isEmpty())
            return dir.filePath(found.first());
    }
    return {};
}

// A plain tile, light where dark letters go and dark elsewhere, for a slot whose default
// picture is gone: the board stays playable.
QPixmap PlainTile(int slot) {
    const bool light = slot == SlotCell || slot == SlotChosenLetter;
    QPixmap tile(32, 32);
    tile.fill(light ? QColor(225, 210, 170) : QColor(50, 40, 70));
    return tile;
}

// One pass of LoadSkinImages: remembers what it decoded so that a file shared by several
// slots is read once, and gathers the default skin's missing files into one message.
class TSkinLoader {
public:
    // A texture that cannot be found is forgotten in `imageNames`.
    TSkinLoader(const QString& texturesFolder, IMessages& messages,
                CheckedArray<QByteArray, 0, 8>& imageNames, const QByteArray& skinName)
        : texturesFolder_(texturesFolder), messages_(messages), imageNames_(imageNames),
          skinName_(skinName) {}

    QPixmap TextureSlot(int slot) {
        QByteArray& name = imageNames_[slot];
        const QString path = texturesFolder_ + '/' + CodePage::ToUnicode(BareFileName(name));
        if (name.isEmpty() || !QFileInfo(path).isFile()) {
            name.clear(); // so the next save writes an empty value
            return DefaultPicture(slot);
        }
        if (decoded_.contains(name))
            return decoded_[name];
        if (undecodable_.contains(name))
            return DefaultPicture(slot);
        const QPixmap picture = Decode(path, name);
        if (picture.isNull()) {
            undecodable_.insert(name);
            return DefaultPicture(slot);
        }
        decoded_.insert(name, picture);
        return picture;
    }

    QPixmap SkinSlot(int slot) {
        if (skinName_.isEmpty())
            return DefaultPicture(slot);
        const QString path = SlotFile(texturesFolder_ + '/' + CodePage::ToUnicode(skinName_), slot);
        if (path.isEmpty())
            return DefaultPicture(slot);
        const QPixmap picture =
            Decode(path, skinName_ + '/' + CodePage::FromUnicode(QFileInfo(path).fileName()));
        return picture.isNull() ? DefaultPicture(slot) : picture;
    }

    void ReportMissingDefaults() const {
        if (!missingDefaults_.isEmpty())
            messages_.Show(missingDefaults_.join('\n'));
    }

private:
    // A null picture after telling the player the file's shown name.
    QPixmap Decode(const QString& path, const QByteArray& shownName) const {
        try {
            return QPixmap::fromImage(PictureDecoder::LoadPicture(path));
        } catch (const KordiError&) {
            messages_.Show("Unknown graphic format : " + CodePage::ToUnicode(shownName));
            return {};
        }
    }

    QPixmap DefaultPicture(int slot) {
        const QString folder = texturesFolder_ + '/' + DefaultSkinName;
        const QString found = SlotFile(folder, slot);
        const QString path = found.isEmpty() ? QString("%1/%2.jpg").arg(folder).arg(slot) : found;
        try {
            return QPixmap::fromImage(PictureDecoder::LoadPicture(path));
        } catch (const KordiError& error) {
            missingDefaults_.append(error.Text());
            return PlainTile(slot);
        }
    }

    const QString& texturesFolder_;
    IMessages& messages_;
    CheckedArray<QByteArray, 0, 8>& imageNames_;
    const QByteArray& skinName_;
    QHash<QByteArray, QPixmap> decoded_;
    QSet<QByteArray> undecodable_;
    QStringList missingDefaults_;
};

} // namespace

TSkins::TSkins(const TProgramFolder& folder, IMessages& messages)
    : texturesFolder_(folder.File("Textures")), messages_(messages) {}

void TSkins::LoadSkinImages() {
    TSkinLoader loader(texturesFolder_, messages_, ImageNames, SkinName);
    for (int slot = 0; slot <= 8; ++slot)
        bitmaps_[slot] = UseSkins ? loader.SkinSlot(slot) : loader.TextureSlot(slot);
    loader.ReportMissingDefaults();
}

void TSkins::ApplySkins() {
    std::erase_if(registry_, [](const TSkinned& entry) { return entry.window.isNull(); });
    const std::vector<TSkinned> windows = registry_;
    for (const TSkinned& entry : windows)
        if (entry.window)
            entry.dress();
}

void TSkins::RegisterSkinned(QWidget* window, std::function<void()> dress) {
    registry_.push_back({window, dress});
    dress();
}

void DressMainWindow(TMainWindow& window, const TSkins& skins) {
    window.centralWidget()->update();
    window.OwnWordsPanel->SetTexture(skins[SlotPanel]);
    window.OpponentWordsPanel->SetTexture(window.OwnWordsPanel->Texture());
    window.WordLabel->SetTexture(skins[SlotWordLabel]);
    window.SkipButton->SetTexture(skins[SlotButton]);
    window.AdviceButton->SetTexture(skins[SlotButton]);
    // Letters and cells show the game, which is there once the cells are.
    if (window.Cells[5][5])
        window.ShowGame();
}
