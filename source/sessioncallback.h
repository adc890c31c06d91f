#pragma once

// The Steam callback holder a connection keeps during a Steam login; the least its callers need.
class SessionCallback {
public:
    virtual ~SessionCallback();
};
