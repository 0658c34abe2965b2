// The settings of the "Kordi", "Images" and "NetPlay" sections, read into the running
// program and written back from it.

#include "dictionary/Dictionary.h"
#include "platform/CodePage.h"
#include "settings/RunData.h"
#include "ui/MainWindow.h"
#include "ui/Presentation.h"

#include <QAction>

namespace {

QByteArray ImageKey(int slot) {
    return "Image" + QByteArray::number(slot);
}

} // namespace

void TMainWindow::LoadSettings() {
    TSettingsFile& file = data_.Settings;
    UseLanguage(data_.Words, file.ReadLanguageNumber());
    LanguageItem(data_.Words.Language)->setChecked(true);
    RelabelMainWindow();
    Game->SetStrength(file.ReadStrengthLevel() + 2);
    for (int slot = 0; slot <= 8; ++slot)
        look_.Skins.ImageNames[slot] = file.ReadString("Images", ImageKey(slot), "");
    Menu_Sound->setChecked(file.ReadFlag("Kordi", "Sound", true));
    look_.Skins.SkinName = file.ReadString("Images", "SkinName", "");
    look_.Skins.UseSkins = file.ReadFlag("Images", "UseSkins", true);
    look_.Faces.Tint = file.ReadFaceTint();
    // A number that is no TCP port falls back to the default, as a missing one does.
    const int port = file.ReadInteger("NetPlay", "Port", 0);
    data_.NetPlay.Port = port >= 0 && port <= 65535 ? port : 0;
    data_.NetPlay.HostName = file.ReadString("NetPlay", "HostName", "localhost");
    data_.NetPlay.Name = file.ReadString("NetPlay", "Name", "X");
    data_.NetPlay.AutoPopUpChat = file.ReadFlag("NetPlay", "AutoPopUpChat", true);
}

void TMainWindow::SaveSettings() const {
    TSettingsFile& file = data_.Settings;
    file.WriteFlag("Kordi", "Sound", Menu_Sound->isChecked());
    file.WriteInteger("Kordi", "LanguageNumber", data_.Words.Language);
    file.WriteInteger("Kordi", "Strong", Game->Strength() - 2);
    for (int slot = 0; slot <= 8; ++slot)
        file.WriteString("Images", ImageKey(slot), BareFileName(look_.Skins.ImageNames[slot]));
    file.WriteFlag("Images", "UseSkins", look_.Skins.UseSkins);
    file.WriteString("Images", "SkinName", look_.Skins.SkinName);
    file.WriteInteger("NetPlay", "Port", data_.NetPlay.Port);
    file.WriteString("NetPlay", "HostName", CodePage::OneLine(data_.NetPlay.HostName));
    file.WriteString("NetPlay", "Name", CodePage::OneLine(data_.NetPlay.Name));
    file.WriteFlag("NetPlay", "AutoPopUpChat", data_.NetPlay.AutoPopUpChat);
}
