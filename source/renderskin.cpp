// The interface skin: data/Veltor.skin read into the image table, the generated disc mask, and
// the deciphering of the packs' pixel blocks.
#include <cmath>
#include <vector>

#include "core.h"
#include "driver/gfxcore.h"
#include "recordfile.h"
#include "render.h"
#include "spanreader.h"
#include "xtea.h"

namespace {

constexpr uint16_t DiscMaskId = 500;
constexpr int32_t DiscMaskSize = 200;

uint32_t SkinImageFlags(uint16_t id) {
    switch (id) {
        case 5:
        case 6:
        case 7:
        case 100:
        case 101: return GfxFlagLinear;
        default: return 0;
    }
}

// Stores an image under an id; an image the id held before is freed.
void Store(Render& render, uint16_t id, GfxImage* image) {
    GfxImage*& entry = render.GetImage(id);
    GFX_DeleteImage(entry);
    entry = image;
}

bool ReadSkin(Render& render, Core& core, const std::vector<uint8_t>& bytes) {
    SpanReader pack(bytes);
    const uint32_t version = pack.U32();
    const uint16_t count = pack.U16();
    if (pack.Failed()) return false;
    core.dataVersion += version;
    for (uint32_t n = 0; n < count; ++n) {
        const uint16_t id = pack.U16(), width = pack.U16(), height = pack.U16();
        std::vector<uint8_t> pixels = pack.PixelBlock(width, height);
        if (pack.Failed()) return false;
        Render::DecipherPixels(pixels.data(), uint32_t(pixels.size() - 8));
        Store(render, id,
              GFX_CreateImage(width, height, pixels.data(), width * 4, SkinImageFlags(id), 0));
    }
    return true;
}

// An opaque black square with a transparent disc of radius 100 centred on pixel (100, 100).
GfxImage* CreateDiscMask() {
    std::vector<uint8_t> pixels(DiscMaskSize * DiscMaskSize * 4, 0);
    for (int32_t i = 0; i < DiscMaskSize; ++i) {
        for (int32_t j = 0; j < DiscMaskSize; ++j) {
            const double distance =
                std::sqrt(double((i - 100) * (i - 100) + (j - 100) * (j - 100)));
            pixels[j * DiscMaskSize * 4 + i * 4 + 3] = 100.0f > float(distance) ? 0 : 255;
        }
    }
    return GFX_CreateImage(DiscMaskSize, DiscMaskSize, pixels.data(), DiscMaskSize * 4,
                           GfxFlagLinear, 0);
}

}  // namespace

bool Render::LoadSkin() {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile("data/Veltor.skin", bytes) || !ReadSkin(*this, *core, bytes)) {
        core->FatalError("Failed to load \"Veltor.skin\".");
    }
    Store(*this, DiscMaskId, CreateDiscMask());
    return true;
}

void Render::DecipherPixels(uint8_t* pixels, uint32_t byteLength) {
    // The key of the image packs, put together at run time from four words.
    const uint32_t words[4] = {0x5EC7A11D, 0x0B3F6E29, 0xD4826C73, 0x91F0B5A8};
    uint8_t key[16];
    for (int i = 0; i < 16; ++i) key[i] = uint8_t(words[i / 4] >> (8 * (i % 4)));
    Xtea cipher;
    cipher.SetKey(key);
    cipher.Decrypt(pixels, size_t((uint64_t(byteLength) + 7) / 8));
}
