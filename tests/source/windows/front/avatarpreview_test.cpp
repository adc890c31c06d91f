// The preview of the selected avatar, drawn from the sample sprite data.
#include <gtest/gtest.h>

#include <memory>

#include "shape.h"
#include "support/spritedata.h"
#include "windows/front/avatars.h"
#include "windows/toolkit/list.h"

namespace {

// Shapes of the sample sprite data (tools/datagen/sprites.py): ground, and the person, whose
// images take outfit colours and whose previews show its south-facing shape.
const uint32_t GroundShape = 100, PersonShape = 200, PersonFacingSouth = 205;
const uint32_t Outfit = 0x0A472C53;

class AvatarPreview : public SpriteData {
protected:
    void SetUp() override {
        SpriteData::SetUp();
        sampleShapes = Load("sample");
        startUpShapes = core->shapes;
        core->shapes = sampleShapes.get();
    }
    void TearDown() override {
        core->shapes = startUpShapes;
        sampleShapes.reset();
        SpriteData::TearDown();
    }

    // How many holders the images of a shape in a colouring have.
    uint32_t Holders(uint32_t shapeId, uint32_t colours) {
        const auto& counts = core->GetShape(shapeId)->colorCounts;
        const auto found = counts.find(colours);
        return found == counts.end() ? 0 : found->second;
    }

    std::unique_ptr<Shapes> sampleShapes;
    Shapes* startUpShapes = nullptr;
};

TEST_F(AvatarPreview, TheSelectedAvatarShowsInItsPreviewShapeBuiltOnce) {
    ASSERT_EQ(core->GetShape(PersonShape)->previewShapeId, PersonFacingSouth);
    AvatarEntry person, ground;
    person.shapeId = PersonShape;
    person.subId = Outfit;
    ground.shapeId = GroundShape;
    auto* avatars = new Avatars(core);
    core->AddWindow(avatars);
    avatars->SetAvatarList({person, ground});

    for (int frame = 0; frame < 3; ++frame) avatars->Draw();
    EXPECT_EQ(Holders(PersonFacingSouth, Outfit), 1u);
    EXPECT_EQ(Holders(PersonShape, Outfit), 0u);

    // Another choice lets the first preview go.
    avatars->list->Select(1);
    avatars->Draw();
    EXPECT_EQ(Holders(PersonFacingSouth, Outfit), 0u);
    EXPECT_EQ(Holders(GroundShape, 0), 1u);

    core->RemoveWindow(avatars);
    EXPECT_EQ(Holders(GroundShape, 0), 0u);
}

}  // namespace
