// The platform port of the servers: the component model's services done by Win32.
//
// A message dialog is a real modal MessageBoxW (the dialog's caption, text, icon: error or
// question, buttons: OK or OK and Cancel) owned by the top-level window of the form that asked for
// it and centred on the screen, but only while that form is shown as windows in a container (in-place active) and is handling
// a host's call or a user's action. A control that has no window (a script host's, say) keeps the
// headless answer, OK at once, so a host that cannot show a window is never blocked. Only one
// message is up at a time: a message asked for while another is up (a host's call made from an
// event, say) is answered at once, with Cancel where there is one, so nothing is deleted unasked.
//
// The clipboard is the system's (Unicode text). The focus follows the model into the windows. The
// hint pause is the one all the process's tooltips use. Texts are measured in the very GDI font the
// form's windows draw with (gdi_font.h), on a screen device context. The clock is the machine's local clock.
//
// One port serves every thread of the process (it is the library's default port, see
// widgets/platform.h): whatever belongs to one thread's controls (the message that is up, the hook
// that centres it, the clipboard's owner window) is kept per thread, and the rest is guarded.
#pragma once

#include "widgets/platform.h"

namespace citara::server {

class Win32Platform final : public Platform {
 public:
  DialogResult ShowMessage(const MessageDialog& dialog) override;
  std::string ClipboardText() override;
  void SetClipboardText(std::string_view text) override;
  OleDate Now() override { return LocalNow(); }
  int ScreenHeight() override;
  int HintHidePause() override;
  void SetHintHidePause(int milliseconds) override;
  void FocusChanged(Control* control) override;
  TSize MeasureText(const TFont& font, std::string_view text) override;

  // True while a real message box of this port is up on the calling thread.
  static bool MessageUp();
};

// The servers' port, installed by the library as the default of all its threads.
Win32Platform& ServerPlatform();

}  // namespace citara::server
