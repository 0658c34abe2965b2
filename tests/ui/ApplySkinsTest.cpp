#include "platform/TexturedLabel.h"
#include "ui/QuestionWindow.h"
#include "ui/Skins.h"
#include "ui/StrengthWindow.h"
#include "ui/WindowFixture.h"

namespace {

class ApplySkinsTest : public GameFixture {
protected:
    qint64 KeyOf(int slot) const { return look.Skins[slot].cacheKey(); }
};

} // namespace

// A refill reaches every control of every window that exists: the chosen letter and the
// traced cells keep their own slots, and a window that is gone is passed over.
TEST_F(ApplySkinsTest, RefilledPicturesReachEveryWindow) {
    PickLetter('T');
    ClickCell(1, 2);
    ClickCell(1, 2);
    ClickCell(1, 3);
    delete questionWindow;
    look.Skins.SkinName = "Marble";
    look.Skins.LoadSkinImages();
    look.Skins.ApplySkins();
    look.Skins.SkinName.clear();

    for (TTexturedButton* letter : Main().LetterButtons)
        EXPECT_EQ(letter->Texture().cacheKey(),
                  KeyOf(letter->Caption() == "T" ? SlotChosenLetter : SlotLetter));
    ForEachCell(Main().Cells, [this](TBoardCell& cell) {
        const bool traced = cell.Col == 1 && (cell.Row == 2 || cell.Row == 3);
        EXPECT_EQ(cell.Texture().cacheKey(), KeyOf(traced ? SlotTracedCell : SlotCell));
    });
    EXPECT_EQ(Main().WordPanel1->Texture().cacheKey(), KeyOf(SlotPanel));
    EXPECT_EQ(Main().WordPanel2->Texture().cacheKey(), KeyOf(SlotPanel));
    EXPECT_EQ(Main().WordLabel->Texture().cacheKey(), KeyOf(SlotWordLabel));
    EXPECT_EQ(Main().SkipButton->Texture().cacheKey(), KeyOf(SlotButton));
    EXPECT_EQ(Main().AdviceButton->Texture().cacheKey(), KeyOf(SlotButton));
    EXPECT_EQ(strengthWindow->CoolOKButton->Texture().cacheKey(), KeyOf(SlotButton));
}
