// FormWindow: a source form shown as real Win32 windows while its control is active in place.
//
// The component model stays the one source of truth. Every control of the form gets a window of
// its kind (panels and forms a window of Citara's own class, labels STATIC, bevels an etched
// STATIC, flat edits EDIT with a one-pixel frame, radio buttons BUTTON, the contributor sub-form's
// toolbar buttons owner-drawn BUTTONs with their glyphs, the date edit its drop-down button and a
// top-most pop-up holding the month calendar, the spin edit its up/down button), placed at the
// rectangles the model's layout computes (widgets/layout.h: measured by the platform port in the
// windows' own fonts), with the model's fonts and colours. The files: form_window.cpp creates and
// places the windows, form_window_messages.cpp routes their messages into the model,
// form_window_sync.cpp brings them up to the model's state, form_window_paint.cpp paints.
//
// User input flows into the model: key messages of the windows become the model's key down, key
// press and key up of the control that holds the model's focus (the windows' own key handling never
// runs, so Ctrl+X, Ctrl+C and Ctrl+V act exactly once, on key release, as the forms decide), Tab
// moves the model's focus, clicks click the model's controls, a cut, paste or clear from the edit's
// context menu goes through the model and counts as a key release (so the contributor sub-form
// stores a pasted name as it stores a typed one). After every message and every member call the
// windows are brought up to the model's state (Sync): texts, selections, checks, enabled and
// visible states, the pop-up and the focus.
//
// Window activity fires the control's events through `Events`: activation and deactivation (the
// keyboard focus enters or leaves the form's windows), a click and a double click on the form's
// surface, and each paint of the form window.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/source_form.h"
#include "widgets/calendar.h"

#include "server/windows_headers.h"

namespace citara::server {

class FormWindow {
 public:
  struct Events {
    std::function<void()> activate, deactivate, click, dblClick, paint;
    // The layout took more room than the rectangle given (`wanted`, parent coordinates): the
    // fonts need more than the design's.
    std::function<void(const RECT& wanted)> needRoom;
  };

  // Creates the form's windows as a child of `parent`, placed at `rect` (parent coordinates).
  FormWindow(TSourceForm& form, HWND parent, const RECT& rect, Events events);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  // The window of a control of the form (nullptr when it has none).
  HWND WindowOf(const Control* control) const;
  // Lays the form out again for `rect` (parent coordinates) and moves the windows: the form takes
  // that size, or more where its fonts need more room (Size).
  void Place(const RECT& rect);
  // The size the form window took at the last Place.
  TSize Size() const { return size_; }
  // Brings every window up to the model's state; lays the form out again first when the form's
  // font has changed since the last layout.
  void Sync();
  // True when the keyboard focus is on one of the form's windows.
  bool HasFocus() const;
  // Draws the form from the model (surfaces, labels, fields in their colours, buttons with their
  // glyphs, radio buttons) into `dc`, stretched to `bounds` (IViewObject::Draw).
  void Draw(HDC dc, const RECT& bounds);

  // The form window that is handling a host's call or a user's action right now (nullptr: none);
  // the Win32 platform port shows real message boxes only then, owned by its top-level window.
  static FormWindow* Current();
  HWND TopLevel() const;
  // The model moved the focus to `control`: the real focus follows when it is inside the form, or
  // when a message of this form's has just closed (the model then moves the focus on purpose).
  static void ModelFocusChanged(Control* control);
  // A message box of this form's has closed: the next focus move of the model is followed.
  void MessageClosed() { followFocus_ = true; }

  // Marks this window as Current for a scope.
  class Scope {
   public:
    explicit Scope(FormWindow* window);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    FormWindow* previous_;
  };

 private:
  enum class Kind { Form, Panel, Label, Bevel, Edit, Radio, ToolButton, DropButton, SpinButton, Popup, Calendar };
  // The windows whose keys the form handles itself, passing them to the model's key target: the
  // fields, the radio buttons, and the form's own window (which has the focus when no field has).
  static constexpr bool TakesKeys(Kind kind) { return kind == Kind::Edit || kind == Kind::Radio || kind == Kind::Form; }
  struct Item {
    Control* control = nullptr;
    HWND hwnd = nullptr;
    Kind kind = Kind::Panel;
    WNDPROC original = nullptr;  // the standard class's procedure of a subclassed window
    OleDate shownDate = 0;       // calendars: the date drawn last
  };

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(Item& item, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(const Item& item, UINT message, WPARAM wParam, LPARAM lParam);

  void CreateWindows(Control& control, HWND parent);
  HWND Add(Control* control, Kind kind, const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent,
           const RECT& rect);
  void CreatePopup(class TDateLinkEdit97& edit);
  void PlaceChildren();
  // Gives each calendar at least the size its texts need in the form's font.
  void SizeCalendars();
  void AddHints();
  Item* Find(HWND hwnd);
  Item* Find(const Control* control);

  // The control that takes the keys: the open calendar's, else the model's focused control.
  Control* KeyTarget() const;
  void KeyDown(UINT message, WPARAM key);
  void KeyChar(WPARAM unit);
  void KeyUp(WPARAM key);
  void FocusGained(Item& item, HWND previous);
  void FocusLost(Item& item, HWND next);
  void EditCommand(Item& item, UINT message);
  void ReadSelection(Item& item);
  void DrawButton(const DRAWITEMSTRUCT& draw);
  void PaintCalendar(Item& item, HDC dc);
  CalendarGeometry GeometryOf(const Item& item) const;
  void CalendarMouseDown(Item& item, int x, int y);
  // Steps the calendar's month by the auto-repeat's step.
  void RepeatStep(Item& item);
  bool Inside(HWND hwnd) const;
  HFONT FontOf(const Control& control);
  HBRUSH BrushOf(unsigned long color);
  void AfterInput();

  static constexpr UINT_PTR kRepeatTimer = 1;

  TSourceForm& form_;
  Events events_;
  TSize size_;
  RECT offered_{};     // the rectangle the last Place was given
  TFont laidOutFont_;  // the form's font at the last layout
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  std::vector<std::unique_ptr<Item>> items_;
  std::unordered_map<HWND, Item*> byWindow_;
  std::unordered_map<const Control*, Item*> byControl_;
  std::vector<class TDtCalPop97*> popups_;
  std::vector<std::pair<TFont, HFONT>> fonts_;  // the model's fonts as GDI fonts, made once each
  std::unordered_map<unsigned long, HBRUSH> brushes_;
  bool syncing_ = false;
  bool focusInside_ = false;
  bool followFocus_ = false;
  char16_t pendingHighSurrogate_ = 0;
  int repeatStep_ = 0;  // the month step of the calendar's auto-repeat (-1, +1; 0: none)
};

}  // namespace citara::server
