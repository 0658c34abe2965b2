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
    QComboBox* SkinBox;
    QListWidget* FileList;
    QListWidget* SlotList;
    QFrame* PreviewFrame;
    QLabel* PreviewImage;
    QCheckBox* StretchBox;
    TTexturedButton* ResetButton;
    TTexturedButton* OkButton;

    void SlotListClick();
    void FileListClick();
    void ResetButtonClick();
    void StretchBoxClick();
    void UseSkinsCheckBoxClick();
    void SkinBoxClick();

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
