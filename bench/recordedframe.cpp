#include "recordedframe.h"

#include <cstdio>
#include <memory>

namespace Bench {

namespace {

constexpr uint32_t Magic = 0x43455256;  // "VREC"

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

template <class Item>
bool Write(std::FILE* file, const std::vector<Item>& items) {
    const uint32_t count = uint32_t(items.size());
    return std::fwrite(&count, sizeof count, 1, file) == 1 &&
           std::fwrite(items.data(), sizeof(Item), count, file) == count;
}

template <class Item>
bool Read(std::FILE* file, std::vector<Item>& items) {
    uint32_t count = 0;
    if (std::fread(&count, sizeof count, 1, file) != 1) return false;
    // Counts come from a file: read item by item rather than trust one for an allocation.
    items.clear();
    Item item;
    for (uint32_t i = 0; i < count; ++i) {
        if (std::fread(&item, sizeof item, 1, file) != 1) return false;
        items.push_back(item);
    }
    return true;
}

}  // namespace

bool WriteRecordedFrame(const std::string& path, const RecordedFrame& frame) {
    File file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) return false;
    const uint32_t header[4] = {Magic, uint32_t(frame.screenWidth), uint32_t(frame.screenHeight),
                                frame.clearColour};
    return std::fwrite(header, sizeof header, 1, file.get()) == 1 &&
           Write(file.get(), frame.textures) && Write(file.get(), frame.calls) &&
           Write(file.get(), frame.data);
}

bool ReadRecordedFrame(const std::string& path, RecordedFrame& frame) {
    File file(std::fopen(path.c_str(), "rb"), std::fclose);
    uint32_t header[4] = {};
    if (!file || std::fread(header, sizeof header, 1, file.get()) != 1 || header[0] != Magic) {
        return false;
    }
    frame.screenWidth = int32_t(header[1]);
    frame.screenHeight = int32_t(header[2]);
    frame.clearColour = header[3];
    if (!Read(file.get(), frame.textures) || !Read(file.get(), frame.calls) ||
        !Read(file.get(), frame.data)) {
        return false;
    }
    // Every reference must lie inside what was read.
    const auto inData = [&](uint32_t offset, int64_t count) {
        return count >= 0 && offset <= frame.data.size() &&
               count <= int64_t(frame.data.size() - offset);
    };
    const int32_t textures = int32_t(frame.textures.size());
    for (const RecordedTexture& texture : frame.textures) {
        if (texture.kind > RecordedTexture::Overlay || texture.width < 0 || texture.height < 0 ||
            texture.textureWidth < texture.width || texture.textureHeight < texture.height) {
            return false;
        }
        if (texture.kind == RecordedTexture::Image &&
            !inData(texture.pixels, int64_t(texture.width) * texture.height)) {
            return false;
        }
    }
    for (const RecordedCall& call : frame.calls) {
        if (call.kind > RecordedCall::ImagePixels || call.texture < -1 ||
            call.texture >= textures) {
            return false;
        }
        const RecordedTexture* texture =
            call.texture >= 0 ? &frame.textures[call.texture] : nullptr;
        const auto is = [&](RecordedTexture::Kind kind) {
            return texture && texture->kind == kind;
        };
        const bool pixelsFit = call.width >= 0 && call.height >= 0 &&
                               inData(call.pixels, int64_t(call.width) * call.height);
        switch (call.kind) {
            case RecordedCall::OverlayPixels:
                if (!is(RecordedTexture::Overlay) || !pixelsFit) return false;
                break;
            case RecordedCall::ImagePixels:
                if (!is(RecordedTexture::Image) || !pixelsFit || call.x < 0 || call.y < 0 ||
                    int64_t(call.x) + call.width > texture->width ||
                    int64_t(call.y) + call.height > texture->height) {
                    return false;
                }
                break;
            case RecordedCall::OverlayRect:
                if (!is(RecordedTexture::Overlay)) return false;
                break;
            case RecordedCall::ApplyOverlay:
                if (texture && !is(RecordedTexture::Overlay)) return false;
                break;
            case RecordedCall::BeginFrame:
                if (texture && !is(RecordedTexture::Target)) return false;
                break;
            case RecordedCall::Quad:
                if (is(RecordedTexture::Overlay)) return false;
                break;
            default: break;
        }
    }
    return true;
}

int TextureRuns(const RecordedFrame& frame) {
    int runs = 0;
    int32_t texture = -1, overlay = -1;
    for (const RecordedCall& call : frame.calls) {
        if (call.kind == RecordedCall::Quad && call.texture >= 0) {
            if (call.texture != texture) ++runs;
            texture = call.texture;
        } else if (call.kind == RecordedCall::ApplyOverlay && call.texture >= 0) {
            if (call.texture != overlay) ++runs;
            overlay = call.texture;
        }
    }
    return runs;
}

}  // namespace Bench
