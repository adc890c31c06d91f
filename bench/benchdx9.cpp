// Built against the C form of the Direct3D 9 interfaces, whose method tables have named members.
#define CINTERFACE
#include "benchdx9.h"

#include <d3d9.h>

#include "benchcommon.h"

namespace Bench {

namespace {

using DrawPrimitiveUpFn = HRESULT(WINAPI*)(IDirect3DDevice9*, D3DPRIMITIVETYPE, UINT, const void*,
                                           UINT);
using SetTextureFn = HRESULT(WINAPI*)(IDirect3DDevice9*, DWORD, IDirect3DBaseTexture9*);

DrawPrimitiveUpFn realDrawPrimitiveUp = nullptr;
SetTextureFn realSetTexture = nullptr;

HRESULT WINAPI CountingDrawPrimitiveUp(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, UINT count,
                                       const void* vertices, UINT stride) {
    CountDrawCall();
    return realDrawPrimitiveUp(device, type, count, vertices, stride);
}

HRESULT WINAPI CountingSetTexture(IDirect3DDevice9* device, DWORD stage,
                                  IDirect3DBaseTexture9* texture) {
    CountTextureBind();
    return realSetTexture(device, stage, texture);
}

}  // namespace

void InstallDirect3D9Counters(void* device) {
    auto* table = const_cast<IDirect3DDevice9Vtbl*>(static_cast<IDirect3DDevice9*>(device)->lpVtbl);
    DWORD protection;
    VirtualProtect(table, sizeof *table, PAGE_READWRITE, &protection);
    realDrawPrimitiveUp = table->DrawPrimitiveUP;
    table->DrawPrimitiveUP = CountingDrawPrimitiveUp;
    realSetTexture = table->SetTexture;
    table->SetTexture = CountingSetTexture;
    VirtualProtect(table, sizeof *table, protection, &protection);
}

void FinishDirect3D9(void* device) {
    auto* d3d = static_cast<IDirect3DDevice9*>(device);
    IDirect3DQuery9* query = nullptr;
    if (FAILED(IDirect3DDevice9_CreateQuery(d3d, D3DQUERYTYPE_EVENT, &query))) return;
    IDirect3DQuery9_Issue(query, D3DISSUE_END);
    while (IDirect3DQuery9_GetData(query, nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) {
    }
    IDirect3DQuery9_Release(query);
}

}  // namespace Bench
