// The program's own texts used from code, in UTF-8 like every text of the
// program. Templates and menus keep theirs in resources/Quarrow.rc.
#pragma once

#include <string_view>

// Defaults of the lists kept in the settings file.
inline constexpr std::string_view kDefaultEngineName = "百度一下";
inline constexpr std::string_view kDefaultKeyword = "MFC";
// A developer community's domain; also the site button's caption in the template.
inline constexpr std::string_view kDefaultSite = "csdn.net";

// Last item of each selection menu.
inline constexpr std::string_view kMenuEditItem = "增加";

// Notification-area tooltip: two lines, 24 UTF-16 units.
inline constexpr std::string_view kTrayTip = "网页搜索工具\n快捷键:Ctrl+Alt+S";

// Appended to a name or text that a settings list already holds.
inline constexpr std::string_view kAlreadyExists = " 已经存在!";

// Columns of the engine settings list.
inline constexpr std::string_view kColumnOrder = "顺序";
inline constexpr std::string_view kColumnName = "名称";
inline constexpr std::string_view kColumnSearchCode = "搜索代码";
inline constexpr std::string_view kColumnShortcut = "快捷词";

// An engine's shortcut refused: it is more than one word, or another engine
// (named after the first text) has it.
inline constexpr std::string_view kShortcutHasBlank = "快捷词只能是一个词，中间不能有空格。";
inline constexpr std::string_view kShortcutTakenBy = "快捷词已被“";
inline constexpr std::string_view kShortcutTakenEnd = "”使用。";

// The command line's usage (--help, /?), and the line before it for an
// option that is not understood.
inline constexpr std::string_view kUsage =
    "用法:\n"
    "Quarrow\t\t\t启动搜索条(已在运行则显示它)\n"
    "Quarrow --search 文字\t用搜索条搜索这段文字，可在前面加引擎快捷词，如: Quarrow --search g 天气\n"
    "Quarrow --show\t\t显示正在运行的搜索条\n"
    "Quarrow --exit\t\t退出正在运行的搜索条(先保存设置)\n"
    "Quarrow --help\t\t显示本说明";
inline constexpr std::string_view kUnknownOption = "无法识别的命令行: ";

// A save of the settings file that failed: the title of the notification and
// of the question at exit, and the common reasons (the system's own text
// stands for the others).
inline constexpr std::string_view kSaveFailedTitle = "设置未能保存";
inline constexpr std::string_view kSaveFailedInUse = "文件正被另一个程序使用。";
inline constexpr std::string_view kSaveFailedAccessDenied = "没有写入这个文件的权限。";
inline constexpr std::string_view kSaveFailedDiskFull = "磁盘已满。";
inline constexpr std::string_view kSaveFailedFolderMissing = "找不到文件所在的文件夹。";
inline constexpr std::string_view kSaveFailedErrorCode = "错误代码 ";
// The notification while the bar runs: the reason, the file, then this.
inline constexpr std::string_view kSaveFailedKeptInMemory = "搜索记录和设置仍在内存中，下次更改或退出时会再保存。";
// The question at exit: this, the file, the reason after the second text, then the choice.
inline constexpr std::string_view kSaveFailedFile = "设置未能保存到文件:";
inline constexpr std::string_view kSaveFailedBecause = "原因: ";
inline constexpr std::string_view kSaveFailedRetryOrCancel = "按“重试”再保存一次，按“取消”退出而不保存。";

// Picture chooser after a page turn (%d stands for the page number).
inline constexpr std::string_view kPickerCaptionFormat = "选择背景图片(第%d页)";
inline constexpr std::string_view kPickerPageLabelFormat = "第%d页";

// The About box's link and contact address.
inline constexpr std::string_view kHomePageUrl = "https://quarrow.example.org/";
inline constexpr std::string_view kContactAddress = "quarrow@example.org";
