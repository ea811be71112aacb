// Names of the socket error codes that the devices page's binding reports itself.
#include "settings/FrmSetupPeripherique.h"

#include <map>

std::string FrmSetupPeripherique::LibSockectErr(int32_t code) {
    static const std::map<int32_t, std::string> names = {
        {7, "OutOfMemory"},
        {380, "InvalidPropertyValue"},
        {383, "SetNotSupported"},
        {394, "GetNotSupported"},
        {10004, "OpCanceled"},
        {10014, "InvalidArgument"},
        {10035, "AddWouldBlock"},
        {10037, "AlreadyComplete"},
        {10038, "NotSocket"},
        {10040, "MsgTooBig"},
        {10043, "PortNotSupported"},
        {10048, "AddressInUse"},
        {10049, "AddressNotAvailable"},
        {10050, "NetworkSubsystemFailed"},
        {10051, "NetworkUnreachable"},
        {10052, "NetReset"},
        {10053, "ConnectAborted"},
        {10054, "ConnectionReset"},
        {10055, "NoBufferSpace"},
        {10056, "AlreadyConnected"},
        {10057, "NotConnected"},
        {10058, "SocketShutdown"},
        {10060, "Timedout"},
        {10061, "ConnectionRefused"},
        {10093, "NotInitialized"},
        {11001, "HostNotFound"},
        {11002, "HostNotFoundTryAgain"},
        {11003, "NonRecoverableError"},
        {11004, "NoData"},
        {40006, "BadState"},
        {40014, "InvalidArgument"},
        {40017, "Success"},
        {40018, "Unsupported"},
        {40020, "InvalidOp"},
        {40021, "OutOfRange"},
        {40026, "WrongProtocol"},
    };
    const auto found = names.find(code);
    return found == names.end() ? std::string() : found->second;
}
