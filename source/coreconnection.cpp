// Core's connection slots: opening, switching and closing connections, and routing socket events.
#include "core.h"
#include "protocol.h"
#include "windows/toolkit/status.h"
#include "windows/toolkit/windowtypes.h"

void Core::Connect(uint32_t mode) {
    if (!activeConnection)
        AddWindow(new Status(this, "Connecting", "Trying to connect to the server", 2));
    Protocol* connection;
    if (!connection1) connection = connection1 = new Protocol(this, 1);
    else if (!connection2) connection = connection2 = new Protocol(this, 2);
    else return;
    if (!activeConnection) activeConnection = connection;
    connection->Start(mode);
    DeleteClosedConnections();
}

namespace {

// Connections are never deleted at once: a handler of the connection may be what asks for the
// close. They are closed now and deleted by DeleteClosedConnections.
void Release(Core& core, Protocol*& slot) {
    if (!slot) return;
    slot->Close();
    core.closedConnections.push_back(slot);
    if (core.activeConnection == slot) core.activeConnection = nullptr;
    slot = nullptr;
}

// The box that shows a connection attempt; other notices (earlier errors) are of kind 0.
Status* FindConnectingBox(Core& core) {
    for (Window* window : core.windows) {
        auto* box = dynamic_cast<Status*>(window);
        if (box && box->kind == Status::Connecting) return box;
    }
    return nullptr;
}

}  // namespace

void Core::CloseConnection(uint32_t which) {
    if (which != 2) Release(*this, connection1);
    if (which != 1) Release(*this, connection2);
}

void Core::DeleteClosedConnections() {
    const std::vector<Protocol*> closed = std::move(closedConnections);
    closedConnections.clear();
    for (Protocol* connection : closed) delete connection;
}

void Core::SwitchActiveConnection() {
    activeConnection = activeConnection == connection1 ? connection2 : connection1;
}

bool Core::IsOtherConnectionActive(Protocol* connection) {
    return activeConnection && activeConnection != connection;
}

void Core::OnSocketMessage1(WPARAM wParam, LPARAM lParam) {
    if (connection1) connection1->custom(wParam, lParam);
    DeleteClosedConnections();
}

void Core::OnSocketMessage2(WPARAM wParam, LPARAM lParam) {
    if (connection2) connection2->custom(wParam, lParam);
    DeleteClosedConnections();
}

void Core::OnDisconnect(const std::string& text) {
    SetCursor(0);
    if (inGame) LeaveGame();
    RemoveWindow(FindConnectingBox(*this));
    RemoveWindow(FindWindow(WindowType::Avatars));
    if (!text.empty()) ShowStatus("Veltor - Error", text);
    CloseConnection(0);
}

void Core::CancelConnecting() {
    if (!activeConnection) return;
    activeConnection->Cancel();
    // Let go of, so that the next attempt starts afresh in a free slot, with its own box.
    CloseConnection(activeConnection->kind);
}
