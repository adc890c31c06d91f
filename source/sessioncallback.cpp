#include "sessioncallback.h"

SessionCallback::~SessionCallback() = default;
