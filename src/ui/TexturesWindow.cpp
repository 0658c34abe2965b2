#include "ui/TexturesWindow.h"

#include "platform/CodePage.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/Presentation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>

namespace {

QCheckBox* MakeCheckBox(QWidget* parent, QRect geometry) {
    auto* box = new QCheckBox(parent);
    box->setGeometry(geometry);
    box->setStyleSheet("color: white");
    return box;
}

// A file or folder name that the settings file can hold and the program can open again by
// it: every character has its byte in the code page, and none is a control character.
bool Storable(const QString& name) {
    const QByteArray bytes = CodePage::FromUnicode(name);
    return CodePage::OneLine(bytes) == bytes && CodePage::ToUnicode(bytes) == name;
}

// The entries of the textures folder that can be chosen.
QStringList StorableEntries(const QString& folder, const QStringList& nameFilters,
                            QDir::Filters filters) {
    QStringList names = QDir(folder).entryList(nameFilters, filters, QDir::Name | QDir::IgnoreCase);
    names.removeIf([](const QString& name) { return !Storable(name); });
    return names;
}

} // namespace

TTexturesWindow::TTexturesWindow(TPresentation& look, QWidget* parent)
    : TSkinnedDialog(look, parent, ClientWidth, TexturesHeight), skins_(look.Skins) {
    UseSkinsCheckBox = MakeCheckBox(this, {10, 8, 290, 20});
    SkinBox = new QComboBox(this);
    SkinBox->setGeometry(10, 32, 280, 24);
    CreateTextureControls();
    OkButton = MakeOkButton(308, 295);

    connect(UseSkinsCheckBox, &QCheckBox::clicked, this, &TTexturesWindow::UseSkinsCheckBoxClick);
    connect(SkinBox, &QComboBox::activated, this, &TTexturesWindow::SkinBoxClick);
    connect(SlotList, &QListWidget::currentRowChanged, this, &TTexturesWindow::SlotListClick);
    connect(FileList, &QListWidget::itemClicked, this, &TTexturesWindow::FileListClick);
    connect(StretchBox, &QCheckBox::toggled, this, &TTexturesWindow::StretchBoxClick);
    connect(ResetButton, &TTexturedButton::Clicked, this, &TTexturesWindow::ResetButtonClick);
    UseSkinsCheckBox->setChecked(skins_.UseSkins);
}

void TTexturesWindow::CreateTextureControls() {
    SlotList = new QListWidget(this);
    SlotList->setGeometry(10, 40, 40, 190);
    for (int slot = 0; slot <= 8; ++slot)
        SlotList->addItem(QString::number(slot));
    FileList = new QListWidget(this);
    FileList->setGeometry(58, 40, 120, 245);
    PreviewFrame = new QFrame(this);
    PreviewFrame->setGeometry(186, 40, 164, 164);
    PreviewFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PreviewImage = new QLabel(PreviewFrame);
    PreviewImage->setGeometry(5, 5, 154, 154);
    PreviewImage->setAlignment(Qt::AlignCenter);
    StretchBox = MakeCheckBox(this, {186, 212, 164, 20});
    StretchBox->setText("Stretch");
    ResetButton = MakeButton(this, {186, 240, 40, 40});
    ResetButton->SetCaption(QString(QChar(0x21BA))); // an anticlockwise arrow
    ResetButton->setToolTip("Default");
    QFont glyph = ResetButton->font();
    glyph.setPointSize(16);
    ResetButton->setFont(glyph);
}

void TTexturesWindow::showEvent(QShowEvent* event) {
    TSkinnedDialog::showEvent(event);
    setWindowTitle(GetTextU("Menu_Textures"));
    UseSkinsCheckBox->setText(GetTextU("UseSkins"));
    UseSkinsCheckBox->setChecked(skins_.UseSkins);
    ReadFileList();
    {
        const QSignalBlocker quiet(SlotList);
        SlotList->setCurrentRow(0);
    }
    SlotListClick();
    UseSkinsCheckBoxClick();
}

int TTexturesWindow::SelectedSlot() const {
    return std::max(SlotList->currentRow(), 0);
}

void TTexturesWindow::ReadFileList() {
    FileList->clear();
    FileList->addItems(StorableEntries(skins_.TexturesFolder(), {"*.bmp", "*.jpg"}, QDir::Files));
}

void TTexturesWindow::ShowPreview() {
    PreviewImage->setPixmap(skins_[SelectedSlot()]);
}

void TTexturesWindow::SlotListClick() {
    ShowPreview();
    skins_.ApplySkins();
    const QByteArray& name = skins_.ImageNames[SelectedSlot()];
    const auto found = FileList->findItems(CodePage::ToUnicode(name), Qt::MatchFixedString);
    if (name.isEmpty() || found.isEmpty())
        FileList->setCurrentItem(nullptr);
    else
        FileList->setCurrentItem(found.first());
}

void TTexturesWindow::FileListClick() {
    if (const QListWidgetItem* item = FileList->currentItem())
        skins_.ImageNames[SelectedSlot()] = BareFileName(CodePage::FromUnicode(item->text()));
    skins_.LoadSkinImages();
    SlotListClick();
}

void TTexturesWindow::ResetButtonClick() {
    skins_.ImageNames[SelectedSlot()].clear();
    skins_.LoadSkinImages();
    SlotListClick();
}

void TTexturesWindow::StretchBoxClick() {
    PreviewImage->setScaledContents(StretchBox->isChecked());
}

void TTexturesWindow::UseSkinsCheckBoxClick() {
    skins_.UseSkins = UseSkinsCheckBox->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(FileList), static_cast<QWidget*>(ResetButton),
                             static_cast<QWidget*>(StretchBox), static_cast<QWidget*>(SlotList),
                             static_cast<QWidget*>(PreviewFrame)})
        control->setVisible(!skins_.UseSkins);
    SkinBox->setVisible(skins_.UseSkins);
    OkButton->move(OkButton->x(), skins_.UseSkins ? 12 : 295);
    setFixedSize(ClientWidth, skins_.UseSkins ? SkinsHeight : TexturesHeight);
    if (skins_.UseSkins)
        FillSkinList();
    SkinBoxClick();
}

void TTexturesWindow::FillSkinList() {
    const QSignalBlocker quiet(SkinBox);
    SkinBox->clear();
    SkinBox->addItems(
        StorableEntries(skins_.TexturesFolder(), {}, QDir::Dirs | QDir::NoDotAndDotDot));
    // No skin chosen, or one whose folder is gone: the windows wear the default skin.
    int shown = SkinBox->findText(CodePage::ToUnicode(skins_.SkinName), Qt::MatchFixedString);
    if (shown < 0)
        shown = SkinBox->findText(DefaultSkinName);
    SkinBox->setCurrentIndex(shown);
}

// With no skin selected (skins off and the list never filled) the chosen skin is kept.
void TTexturesWindow::SkinBoxClick() {
    if (SkinBox->currentIndex() >= 0)
        skins_.SkinName = CodePage::FromUnicode(SkinBox->currentText());
    skins_.LoadSkinImages();
    skins_.ApplySkins();
    ShowPreview();
}
