// A modal dialog made from a dialog template, with its own modal loop and one
// table per dialog that binds window messages, control notifications and
// command ids to member functions.
//
// A derived dialog names its template id, fills its table in its constructor
// (OnMessage, OnCommand, OnCommandRange, OnControl, OnNotify) and exchanges its
// data in DoDataExchange. The loop shows every message for the dialog or one of
// its controls to PreTranslateMessage before the dialog keys are processed.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "framework/win/DataExchange.h"

class Dialog {
 public:
  // What a handler tells the dialog procedure: handled with a value, or not
  // handled, so that the system's default processing of the message runs
  // (after the handler).
  struct Result {
    bool handled;
    LRESULT value;
  };
  static constexpr Result kNotHandled{false, 0};
  // Colour queries are reflected to the control as kReflectBase + WM_CTLCOLOR*
  // (the OCM_ numbering): a control that answers with a brush paints itself.
  static constexpr UINT kReflectBase = WM_USER + 0x1C00;
  static constexpr Result Handled(LRESULT value = 0) { return {true, value}; }

  using MessageHandler = std::function<Result(WPARAM, LPARAM)>;
  using CommandHandler = std::function<void()>;
  using RangeHandler = std::function<void(UINT id)>;
  using NotifyHandler = std::function<LRESULT(NMHDR*)>;

  Dialog(int templateId, HWND owner = nullptr);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Creates the dialog, runs it until EndDialog or a quit message, destroys its
  // window and returns the result (-1 when the run ended by a quit message,
  // which is posted again so that outer loops end too). The owner given at
  // construction is disabled meanwhile.
  INT_PTR DoModal();

  HWND Hwnd() const { return m_hwnd; }
  HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }
  void EndDialog(INT_PTR result);
  // Runs DoDataExchange: saving = controls to members.
  void UpdateData(bool saving);

 protected:
  void OnMessage(UINT message, MessageHandler handler);
  // WM_COMMAND from a menu item, an accelerator or a button click (BN_CLICKED).
  void OnCommand(UINT id, CommandHandler handler);
  void OnCommandRange(UINT first, UINT last, RangeHandler handler);
  // WM_COMMAND with a control's notification code (LBN_SELCHANGE, ...).
  void OnControl(UINT id, UINT code, CommandHandler handler);
  // WM_NOTIFY from control `id` with notification `code`.
  void OnNotify(UINT id, UINT code, NotifyHandler handler);

  // Runs the data exchange in the loading direction; TRUE asks for the default focus.
  virtual BOOL OnInitDialog();
  // Run when IDOK/IDCANCEL arrive without a binding of their own.
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(DataExchange& exchange);
  // True when the message has been dealt with and must not be dispatched.
  virtual bool PreTranslateMessage(MSG& message);
  // The window is being destroyed (WM_DESTROY).
  virtual void OnDestroy() {}

 private:
  struct Binding {
    enum class Kind { Message, Command, Control, Notify } kind;
    UINT first, last, code;
    MessageHandler onMessage;
    RangeHandler onCommand;
    NotifyHandler onNotify;
  };

  static INT_PTR CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Proc(UINT message, WPARAM wParam, LPARAM lParam);
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool IsOwnMessage(const MSG& message) const;
  void CenterOnFirstShow();

  int m_templateId;
  HWND m_owner;
  HWND m_hwnd = nullptr;
  bool m_ended = false;
  INT_PTR m_result = IDCANCEL;
  std::vector<Binding> m_table;
};
