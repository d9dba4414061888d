#pragma once
// A main window on the headless back end with a scripted members API.
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/page_fetcher.h"
#include "window/form1.h"
#include "window/headless_back_end.h"

namespace quorix::testing {

// Answers the pages it holds; any other page fails like a missing page.
class ScriptedFetcher final : public PageFetcher {
 public:
  std::map<int, std::string> answers;
  std::vector<int> fetched;

  std::string fetch_page(std::string_view, int page) override {
    fetched.push_back(page);
    const auto answer = answers.find(page);
    if (answer == answers.end()) throw std::runtime_error("HTTP/1.1 404 Not Found");
    return answer->second;
  }
};

// One page of the members API answer with `members` members numbered from `first_uid`.
inline std::string members_page(int count, int first_uid, int members) {
  std::string page = "{\"response\":{\"count\":" + std::to_string(count) + ",\"items\":[";
  for (int i = 0; i < members; ++i) {
    if (i > 0) page += ",";
    page += "{\"uid\":" + std::to_string(first_uid + i) + ",\"first_name\":\"Ann\",\"last_name\":\"Lee\"}";
  }
  return page + "]}}";
}

class FormFixture {
 public:
  FormFixture() {
    auto fetcher = std::make_unique<ScriptedFetcher>();
    api = fetcher.get();
    form = std::make_unique<TForm1>(screen, std::move(fetcher));
  }

  void type_input(std::u16string_view text) { form->Edit1.take_user_text(std::u16string(text)); }
  void left_click() {
    form->picture_button_pressed(MouseButton::Left, false);
    form->picture_button_released(MouseButton::Left, true);
  }
  // A run over a one-page group that leaves the button in save mode.
  void complete_run() {
    type_input(u"club1");
    api->answers[0] = members_page(2, 1, 2);
    left_click();
  }

  HeadlessBackEnd screen;
  ScriptedFetcher* api = nullptr;
  std::unique_ptr<TForm1> form;
};

}  // namespace quorix::testing
