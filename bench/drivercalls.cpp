// Built against the C form of the Direct3D 9 interfaces, whose method tables have named members.
#define CINTERFACE
#include "drivercalls.h"

#include <windows.h>

#include <GL/gl.h>
#include <d3d9.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace DriverCalls {

namespace {

Counts counts = {};

void(WINAPI* realBegin)(GLenum) = nullptr;
void(WINAPI* realBindTexture)(GLenum, GLuint) = nullptr;

void WINAPI CountingBegin(GLenum mode) {
    ++counts.drawCalls;
    realBegin(mode);
}

void WINAPI CountingBindTexture(GLenum target, GLuint name) {
    ++counts.textureBinds;
    realBindTexture(target, name);
}

using DrawPrimitiveUpFn = HRESULT(WINAPI*)(IDirect3DDevice9*, D3DPRIMITIVETYPE, UINT, const void*,
                                           UINT);
using SetTextureFn = HRESULT(WINAPI*)(IDirect3DDevice9*, DWORD, IDirect3DBaseTexture9*);

DrawPrimitiveUpFn realDrawPrimitiveUp = nullptr;
SetTextureFn realSetTexture = nullptr;

HRESULT WINAPI CountingDrawPrimitiveUp(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, UINT count,
                                       const void* vertices, UINT stride) {
    ++counts.drawCalls;
    return realDrawPrimitiveUp(device, type, count, vertices, stride);
}

HRESULT WINAPI CountingSetTexture(IDirect3DDevice9* device, DWORD stage,
                                  IDirect3DBaseTexture9* texture) {
    ++counts.textureBinds;
    return realSetTexture(device, stage, texture);
}

// The import-address slot through which this program calls `function` of opengl32.dll.
ULONG_PTR* ImportSlot(const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name; ++library) {
        if (_stricmp(reinterpret_cast<const char*>(base + library->Name), "opengl32.dll") != 0) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                return &slots->u1.Function;
            }
        }
    }
    return nullptr;
}

template <class Fn>
void Redirect(const char* function, Fn& original, Fn replacement) {
    ULONG_PTR* slot = ImportSlot(function);
    if (!slot) {
        std::fprintf(stderr, "drivercalls: no import of %s to count\n", function);
        std::exit(1);
    }
    DWORD protection;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    original = reinterpret_cast<Fn>(*slot);
    *slot = reinterpret_cast<ULONG_PTR>(replacement);
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

}  // namespace

void CountOpenGl() {
    if (realBegin) return;
    Redirect("glBegin", realBegin, CountingBegin);
    Redirect("glBindTexture", realBindTexture, CountingBindTexture);
}

void CountDirect3D9(void* device) {
    if (realSetTexture) return;
    auto* table = const_cast<IDirect3DDevice9Vtbl*>(static_cast<IDirect3DDevice9*>(device)->lpVtbl);
    DWORD protection;
    VirtualProtect(table, sizeof *table, PAGE_READWRITE, &protection);
    realDrawPrimitiveUp = table->DrawPrimitiveUP;
    table->DrawPrimitiveUP = CountingDrawPrimitiveUp;
    realSetTexture = table->SetTexture;
    table->SetTexture = CountingSetTexture;
    VirtualProtect(table, sizeof *table, protection, &protection);
}

Counts Take() {
    const Counts taken = counts;
    counts = {};
    return taken;
}

}  // namespace DriverCalls
