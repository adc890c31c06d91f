#include "protocolstate.h"

ProtocolState protocolState = StateLogin;
