#pragma once
// The few socket calls where Winsock and POSIX differ, for the test servers.
#include <cstdint>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace quorix::testing {

#ifdef _WIN32
using NativeSocket = SOCKET;
using AddressLength = int;
inline constexpr int send_flags = 0;
inline void close_socket(NativeSocket s) { ::closesocket(s); }
inline bool valid(NativeSocket s) { return s != INVALID_SOCKET; }
#else
using NativeSocket = int;
using AddressLength = socklen_t;
inline constexpr int send_flags = MSG_NOSIGNAL;  // a vanished client must not end the test
inline void close_socket(NativeSocket s) { ::close(s); }
inline bool valid(NativeSocket s) { return s >= 0; }
#endif

inline NativeSocket native(std::uintptr_t s) { return static_cast<NativeSocket>(s); }

// A socket listening on a free loopback port with room for `backlog` waiting
// connections; throws std::runtime_error when there is none.
NativeSocket loopback_listener(int backlog, std::uint16_t& port);

}  // namespace quorix::testing
