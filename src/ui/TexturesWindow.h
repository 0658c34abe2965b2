#pragma once
// The textures window: the player picks one skin for all slots, or a texture file slot by
// slot. Every choice reloads the pictures and dresses all windows at once; the choices reach
// the settings file with the next save. Only names the settings file can hold are offered.

#include "ui/SkinnedDialog.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class TTexturedButton;
class TSkins;

class TTexturesWindow : public TSkinnedDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 360;
    static constexpr int SkinsHeight = 65;
    static constexpr int TexturesHeight = 345;

    explicit TTexturesWindow(TPresentation& look, QWidget* parent = nullptr);

    QCheckBox* UseSkinsCheckBox;
    QComboBox* ComboBox1;
    QListWidget* FileListBox1;
    QListWidget* CoolListBox;
    QFrame* Panel1;
    QLabel* Image1;
    QCheckBox* StretchBox;
    TTexturedButton* CoolResetButton;
    TTexturedButton* CoolOKButton;

    void CoolListBoxClick();
    void FileListBox1Click();
    void CoolResetButtonClick();
    void StretchBoxClick();
    void UseSkinsCheckBoxClick();
    void ComboBox1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateTextureControls();
    int SelectedSlot() const;
    void ReadFileList();
    void FillSkinList();
    void ShowPreview();

    TSkins& skins_;
};
