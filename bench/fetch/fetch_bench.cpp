// Fetch benchmark: 1000 pages of 1000 members (group 1000000) from the local
// stand-in API, through the program's HttpClient over one connection, against
// curl fetching the same 1000 URLs over one kept-alive connection.
//
// Run (one command, from a native build directory, best a Release one):
//   cmake --build <build dir> --target run_fetch_bench
//
// Prints wall and CPU seconds of each side (curl's CPU from wait4), the
// server's CPU seconds while serving each side, and the ratios to curl.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "extraction/http_client.h"

namespace {

constexpr int pages = 1000;
constexpr int rounds = 3;
const std::string group_id = "1000000";

struct Server {
  pid_t pid;
  std::uint16_t port;
};

Server start_server() {
  int out[2];
  if (::pipe(out) != 0) throw std::runtime_error("pipe");
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], 1);
    ::execl(STAND_IN_API, STAND_IN_API, "--port", "0", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  std::string line;
  char c;
  while (::read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
  ::close(out[0]);
  const std::string prefix = "listening on 127.0.0.1:";
  if (!line.starts_with(prefix)) throw std::runtime_error("stand_in_api did not start: " + line);
  return {pid, static_cast<std::uint16_t>(std::stoi(line.substr(prefix.size())))};
}

double seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

double cpu_seconds(const rusage& usage) { return seconds(usage.ru_utime) + seconds(usage.ru_stime); }

// User and system time of a running process, from /proc.
double process_cpu_seconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::vector<std::string> fields;
  // Fields after the command name, which is in parentheses and may hold blanks.
  std::string field;
  for (const char ch : text.substr(text.rfind(')') + 2)) {
    if (ch == ' ') {
      fields.push_back(field);
      field.clear();
    } else {
      field.push_back(ch);
    }
  }
  const double ticks = static_cast<double>(::sysconf(_SC_CLK_TCK));
  return (std::stod(fields.at(11)) + std::stod(fields.at(12))) / ticks;
}

struct Measure {
  double wall = 0;
  double cpu = 0;
  double server_cpu = 0;
  std::uint64_t bytes = 0;
};

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

Measure fetch_with_http_client(const Server& server) {
  Measure m;
  const double server_before = process_cpu_seconds(server.pid);
  rusage before{};
  ::getrusage(RUSAGE_SELF, &before);
  const auto start = Clock::now();
  quorix::HttpClient client("127.0.0.1", server.port);
  for (int page = 0; page < pages; ++page) {
    const auto body = client.fetch_page(group_id, page);
    const auto first_member = R"({"response":{"count":1000000,"users":[{"uid":)" +
                              std::to_string(100000 + page * 1000) + ",";
    if (!body.starts_with(first_member)) {
      throw std::runtime_error("page " + std::to_string(page) + " is not the right page");
    }
    m.bytes += body.size();
  }
  m.wall = since(start);
  rusage after{};
  ::getrusage(RUSAGE_SELF, &after);
  m.cpu = cpu_seconds(after) - cpu_seconds(before);
  m.server_cpu = process_cpu_seconds(server.pid) - server_before;
  return m;
}

Measure fetch_with_curl(const Server& server) {
  Measure m;
  const auto url = "http://127.0.0.1:" + std::to_string(server.port) +
                   "/method/groups.getMembers?group_id=" + group_id +
                   "&offset=[0-" + std::to_string((pages - 1) * 1000) +
                   ":1000]&count=1000&fields=sex";
  const double server_before = process_cpu_seconds(server.pid);
  int out[2];
  if (::pipe(out) != 0) throw std::runtime_error("pipe");
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], 1);
    ::close(out[0]);
    ::execlp("curl", "curl", "-s", "-o", "/dev/null", "-w", "%{size_download} %{num_connects}\n",
             url.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  std::string report;
  char buffer[4096];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) {
    report.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(out[0]);
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  m.wall = since(start);
  m.cpu = cpu_seconds(usage);
  m.server_cpu = process_cpu_seconds(server.pid) - server_before;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("curl failed");
  std::uint64_t connects = 0;
  int answers = 0;
  std::size_t at = 0;
  for (std::size_t end; (end = report.find('\n', at)) != std::string::npos; at = end + 1) {
    const auto line = report.substr(at, end - at);
    m.bytes += std::stoull(line);
    connects += std::stoull(line.substr(line.find(' ') + 1));
    ++answers;
  }
  if (answers != pages || connects != 1) {
    throw std::runtime_error("curl made " + std::to_string(connects) + " connections for " +
                             std::to_string(answers) + " answers");
  }
  return m;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Summary {
  double wall, cpu, server_cpu;
};

Summary summarise(const std::vector<Measure>& runs) {
  std::vector<double> wall, cpu, server_cpu;
  for (const auto& m : runs) {
    wall.push_back(m.wall);
    cpu.push_back(m.cpu);
    server_cpu.push_back(m.server_cpu);
  }
  return {median(wall), median(cpu), median(server_cpu)};
}

}  // namespace

int main() {
  const Server server = start_server();
  int exit_code = 0;
  try {
    std::vector<Measure> ours, curls;
    for (int round = 0; round < rounds; ++round) {
      ours.push_back(fetch_with_http_client(server));
      curls.push_back(fetch_with_curl(server));
      if (ours.back().bytes != curls.back().bytes) {
        throw std::runtime_error("HttpClient and curl received different byte counts");
      }
    }
    const auto a = summarise(ours);
    const auto b = summarise(curls);
    std::printf("%d pages of 1000 members, %llu body bytes; medians of %d rounds\n", pages,
                static_cast<unsigned long long>(ours.front().bytes), rounds);
    std::printf("%-14s %9s %9s %13s\n", "", "wall s", "cpu s", "server cpu s");
    std::printf("%-14s %9.3f %9.3f %13.3f\n", "HttpClient", a.wall, a.cpu, a.server_cpu);
    std::printf("%-14s %9.3f %9.3f %13.3f\n", "curl", b.wall, b.cpu, b.server_cpu);
    std::printf("%-14s %9.2f %9.2f\n", "ratio to curl", a.wall / b.wall, a.cpu / b.cpu);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "fetch_bench: %s\n", error.what());
    exit_code = 1;
  }
  ::kill(server.pid, SIGTERM);
  ::waitpid(server.pid, nullptr, 0);
  return exit_code;
}
