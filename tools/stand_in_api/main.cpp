// stand_in_api: the local stand-in for the members API, for the demo, the
// end-to-end tests and the benchmark.
#include <csignal>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "tools/stand_in_api/api_answers.h"
#include "tools/stand_in_api/expected_result.h"
#include "tools/stand_in_api/group_plan.h"
#include "tools/stand_in_api/http_server.h"

namespace {

constexpr std::string_view usage = R"(Usage:
  stand_in_api --port N [--port-file F] [--log]
  stand_in_api --expect GROUP_ID
  stand_in_api --help

Serves GET /method/groups.getMembers?group_id=ID&offset=K*1000&count=1000&fields=sex
on 127.0.0.1 over HTTP/1.1 with persistent connections.

  --port N        listen on port N; 0 picks a free port. Prints the line
                  "listening on 127.0.0.1:<port>" once connections are accepted.
  --port-file F   also write the port number to file F.
  --log           one line per request on stderr: target and status.
  --expect ID     print the result file the program must write for group ID:
                  one "uid;first;last;" line per member, CR LF after each,
                  Windows-1251, JSON escapes kept as the API wrote them, each
                  character beyond U+FFFF as "??". Exits 1 when no run of the
                  program can end with a result for ID.

Group identifiers:
  N               a synthetic group of N members (decimal digits, at most
                  2147483647): uids 100000 + index, Russian names, sex 1 or 2.
                  Places 1 to 4 of every thousand hold special members: the
                  last name O\"Нил (an escaped quote), the last name Петров\\
                  (ending in an escaped backslash), the first name Жан;Поль (a
                  semicolon) and the last name Смирнова plus U+1F600 (raw
                  four-byte UTF-8).
  anything else   the invalid-group answer: status 200, body
                  {"error":{"error_code":125,"error_msg":"Invalid group id",
                  "request_params":[...]}}.
  N-FAULT[-FAULT...]  group N with faults, combinable, e.g. 2500-fail2:
    failK         page K (offset K*1000) answers 500 Internal Server Error.
    statusS       every page answers status S (200 to 599) with a small error
                  body (none for 204 and 304); 3xx carries a Location header.
    close         every answer carries Connection: close; the server closes.
    chunked       bodies in chunked transfer coding, several chunks each.
    cookie        page 0 sets the cookie "session=<token>; path=/"; later
                  pages without that cookie answer 403 Forbidden.
    stallK        page K: the request is read and never answered.
    dropK         page K: the connection closes before the status line.
    emptyK        page K answers 200 with an empty body.
)";

int print_expected(std::string_view group_id) {
  const auto plan = stand_in::parse_group_plan(group_id);
  const auto file = plan ? stand_in::expected_result_file(*plan) : std::nullopt;
  if (!file) {
    std::cerr << "stand_in_api: no run ends with a result for group \"" << group_id << "\"\n";
    return 1;
  }
  std::cout.write(file->data(), static_cast<std::streamsize>(file->size()));
  std::cout.flush();
  return std::cout ? 0 : 1;
}

int serve(int port, const std::string& port_file, bool log) {
  std::signal(SIGPIPE, SIG_IGN);
  stand_in::HttpServer server(static_cast<std::uint16_t>(port));
  if (!port_file.empty()) {
    // Written aside and renamed, so a reader never sees half a number.
    const auto partial = port_file + ".partial";
    std::ofstream(partial) << server.port() << '\n';
    if (std::rename(partial.c_str(), port_file.c_str()) != 0) {
      std::cerr << "stand_in_api: cannot write " << port_file << '\n';
      return 1;
    }
  }
  std::cout << "listening on 127.0.0.1:" << server.port() << std::endl;
  stand_in::ApiAnswers api;
  server.serve(api, log);
}

}  // namespace

int main(int argc, char** argv) {
  int port = -1;
  std::string port_file;
  bool log = false;
  try {
    for (int i = 1; i < argc; ++i) {
      const std::string_view arg = argv[i];
      const bool has_value = i + 1 < argc;
      if (arg == "--help") {
        std::cout << usage;
        return 0;
      } else if (arg == "--expect" && has_value) {
        return print_expected(argv[++i]);
      } else if (arg == "--port" && has_value) {
        const auto value = std::stoi(argv[++i]);
        if (value < 0 || value > 65535) throw std::out_of_range("port");
        port = value;
      } else if (arg == "--port-file" && has_value) {
        port_file = argv[++i];
      } else if (arg == "--log") {
        log = true;
      } else {
        std::cerr << usage;
        return 2;
      }
    }
    if (port < 0) {
      std::cerr << usage;
      return 2;
    }
    return serve(port, port_file, log);
  } catch (const std::exception& error) {
    std::cerr << "stand_in_api: " << error.what() << '\n';
    return 1;
  }
}
