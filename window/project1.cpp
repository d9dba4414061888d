// Start-up: the application's title, icon and hints, the main window Form1,
// and the event loop until the window is closed.
#include <windows.h>

#include <exception>
#include <memory>

#include "extraction/http_client.h"
#include "platform/ansi_code_page.h"
#include "window/error_report_text.h"
#include "window/form1.h"
#include "window/win32_back_end.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  quorix::Win32BackEnd application(instance);
  application.enable_hints();
  application.set_title(u"Quorix");
  try {
    TForm1 Form1(application, std::make_unique<quorix::HttpClient>(QUORIX_API_HOST, QUORIX_API_PORT));
    return application.run();
  } catch (const std::exception& failure) {
    application.show_error_report(quorix::from_ansi(quorix::error_report_text(failure.what())));
    return 1;
  }
}
