// core_run <port> <group reference> <result file>
// One whole run and save on the portable core, as the window would do them,
// with the headless back end and the real HTTP client against 127.0.0.1.
// Prints wall seconds from the click to the last progress line, CPU seconds
// and peak memory of the process.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "extraction/http_client.h"
#include "window/form1.h"
#include "window/headless_back_end.h"
#include "window/utf16.h"

namespace {

double seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: core_run <port> <group reference> <result file>\n");
    return 2;
  }
  quorix::HeadlessBackEnd screen;
  TForm1 form(screen, std::make_unique<quorix::HttpClient>(
                          "127.0.0.1", static_cast<std::uint16_t>(std::stoi(argv[1]))));
  form.Edit1.take_user_text(quorix::utf16_from_utf8(argv[2]));

  const auto start = std::chrono::steady_clock::now();
  form.handle_event([&] { form.Button1Click(); });
  const std::chrono::duration<double> run = std::chrono::steady_clock::now() - start;
  if (form.Image1.tag() != 2) {
    std::fprintf(stderr, "the run did not finish: %zu error reports\n", screen.error_reports.size());
    return 1;
  }
  screen.save_dialog_answers.push_back(argv[3]);
  form.handle_event([&] { form.Button2Click(); });
  if (!screen.error_reports.empty()) {
    std::fprintf(stderr, "the save failed: %s\n", screen.error_reports.front().c_str());
    return 1;
  }

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("members %d run_wall_s %.3f cpu_s %.3f peak_kb %ld\n", form.Memo2.line_count(), run.count(),
              seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss);
  return 0;
}
