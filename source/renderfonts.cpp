// The font pack: data/Veltor.font read into fonts registered in Core.
#include <vector>

#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "recordfile.h"
#include "render.h"
#include "spanreader.h"

namespace {

constexpr uint16_t InterfaceFontId = 1;
constexpr uint16_t FilteredInterfaceFontId = 101;

std::vector<FontGlyphRecord> ReadGlyphTable(SpanReader& pack) {
    std::vector<FontGlyphRecord> table(pack.U16());
    for (FontGlyphRecord& record : table) {
        FontGlyph& g = record.glyph;
        record.code = pack.U16();
        g.sx = pack.U16();
        g.sy = pack.U16();
        g.width1 = pack.U16();
        g.height1 = pack.U16();
        g.advance = pack.U16();
    }
    return table;
}

// Registers a font under its id; a font the id held before is deleted.
void Register(Core& core, Font* font) {
    delete core.GetFont(font->id);
    core.AddFont(font->id, font);
}

bool ReadFonts(Core& core, const std::vector<uint8_t>& bytes) {
    SpanReader pack(bytes);
    const uint32_t version = pack.U32();
    const uint16_t count = pack.U16();
    if (pack.Failed()) return false;
    core.dataVersion += version;
    for (uint32_t n = 0; n < count; ++n) {
        const uint16_t id = pack.U16();
        const int16_t letterSpacing = pack.I16(), lineHeight = pack.I16();
        const uint16_t width = pack.U16(), height = pack.U16();
        std::vector<uint8_t> pixels = pack.PixelBlock(width, height);
        const std::vector<FontGlyphRecord> glyphTable = ReadGlyphTable(pack);
        if (pack.Failed()) return false;
        Render::DecipherPixels(pixels.data(), uint32_t(pixels.size() - 8));
        const auto addFont = [&](uint16_t fontId, uint32_t flags) {
            GfxImage* image = GFX_CreateImage(width, height, pixels.data(), width * 4, flags, 0);
            Register(core, new Font(&core, fontId, image, letterSpacing, lineHeight, glyphTable));
        };
        // Fonts 1 and 2 are sampled pixel for pixel, every other font with linear filtering.
        addFont(id, id == InterfaceFontId || id == 2 ? 0 : GfxFlagLinear);
        // The floating numbers of the game field use a filtered copy of the interface font.
        if (id == InterfaceFontId) addFont(FilteredInterfaceFontId, GfxFlagLinear);
    }
    return true;
}

}  // namespace

bool Render::LoadFonts() {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile("data/Veltor.font", bytes) || !ReadFonts(*core, bytes)) {
        core->FatalError("Failed to load \"Veltor.font\".");
    }
    return true;
}
