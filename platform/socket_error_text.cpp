#include "platform/socket.h"

namespace quorix {
namespace {

const char* error_text(int code) {
  switch (code) {
    case socket_error::host_not_found: return "Host not found.";
    case socket_error::network_down: return "Network is down.";
    case socket_error::network_unreachable: return "Network is unreachable.";
    case socket_error::network_reset: return "Net dropped connection or reset.";
    case socket_error::connection_aborted: return "Software caused connection abort.";
    case socket_error::connection_reset: return "Connection reset by peer.";
    case socket_error::timed_out: return "Connection timed out.";
    case socket_error::connection_refused: return "Connection refused.";
    case socket_error::host_down: return "Host is down.";
    case socket_error::host_unreachable: return "No route to host.";
    default: return "";
  }
}

}  // namespace

std::string socket_error_message(int code) {
  std::string message = "Socket Error # ";
  message += std::to_string(code);
  message += "\r\n";
  message += error_text(code);
  return message;
}

SocketError::SocketError(int code) : std::runtime_error(socket_error_message(code)), code_(code) {}

}  // namespace quorix
