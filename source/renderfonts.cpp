// The font pack: data/Veltor.font read into fonts registered in Core.
#include <vector>

#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "packreader.h"
#include "render.h"

namespace {

constexpr uint16_t InterfaceFontId = 1;
constexpr uint16_t FilteredInterfaceFontId = 101;

bool ReadGlyphTable(PackReader& pack, std::vector<FontGlyphRecord>& table) {
    uint16_t count;
    if (!pack.ReadU16(count)) return false;
    table.assign(count, FontGlyphRecord{});
    for (FontGlyphRecord& record : table) {
        FontGlyph& g = record.glyph;
        if (!pack.ReadU16(record.code) || !pack.ReadU16(g.sx) || !pack.ReadU16(g.sy) ||
            !pack.ReadU16(g.width1) || !pack.ReadU16(g.height1) || !pack.ReadU16(g.advance)) {
            return false;
        }
    }
    return true;
}

// Registers a font under its id; a font the id held before is deleted.
void Register(Core& core, Font* font) {
    delete core.GetFont(font->id);
    core.AddFont(font->id, font);
}

bool ReadFonts(Core& core, PackReader& pack) {
    uint32_t version;
    uint16_t count;
    if (!pack.ReadU32(version) || !pack.ReadU16(count)) return false;
    core.dataVersion += version;
    std::vector<uint8_t> pixels;
    std::vector<FontGlyphRecord> glyphTable;
    for (uint32_t n = 0; n < count; ++n) {
        uint16_t id, width, height;
        int16_t letterSpacing, lineHeight;
        if (!pack.ReadU16(id) || !pack.ReadI16(letterSpacing) || !pack.ReadI16(lineHeight) ||
            !pack.ReadU16(width) || !pack.ReadU16(height) ||
            !pack.ReadPixelBlock(width, height, pixels) || !ReadGlyphTable(pack, glyphTable)) {
            return false;
        }
        Render::DecipherPixels(pixels.data(), uint32_t(pixels.size() - 8));
        const auto addFont = [&](uint16_t fontId, uint32_t flags) {
            GfxImage* image = GFX_CreateImage(width, height, pixels.data(), width * 4, flags, 0);
            Register(core, new Font(&core, fontId, image, letterSpacing, lineHeight, glyphTable));
        };
        // Fonts 1 and 2 are sampled pixel for pixel, every other font with linear filtering.
        addFont(id, id == InterfaceFontId || id == 2 ? 0 : GFX_FLAG_LINEAR);
        // The floating numbers of the game field use a filtered copy of the interface font.
        if (id == InterfaceFontId) addFont(FilteredInterfaceFontId, GFX_FLAG_LINEAR);
    }
    return true;
}

}  // namespace

bool Render::LoadFonts() {
    PackReader pack;
    if (!pack.Open("data/Veltor.font") || !ReadFonts(*core, pack)) {
        core->FatalError("Failed to load \"Veltor.font\".");
    }
    return true;
}
