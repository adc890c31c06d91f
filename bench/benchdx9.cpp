// Built against the C form of the Direct3D 9 interfaces, whose method tables have named members.
#define CINTERFACE
#include "benchdx9.h"

#include <d3d9.h>

namespace Bench {

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
