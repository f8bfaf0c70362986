#pragma once
// The texts the wizard's steps show, UTF-8. The formats take UTF-8 arguments
// (description texts already converted by ITextCodec). What the dialog
// template shows before the first step (the first button text and status
// line) is in res/Update.rc only.
#include "shared/ProgramNames.h"

namespace vt {
namespace updtext {

// The wizard's title, also the caption of its questions.
constexpr const char kCaption[] = VT_WIZARD_TITLE;

constexpr const char kButtonInstall[] = "更新";
constexpr const char kButtonFinish[] = "完成";

constexpr const char kStatusConnecting[] = "正在连接到服务器...";
constexpr const char kStatusReading[] = "读取版本信息...";
constexpr const char kStatusNewer[] = "发现新的版本！";
constexpr const char kUpToDate[] = "您现在使用的版本是最新的！";
constexpr const char kStatusConnectFailed[] = "连接服务器失败！";
constexpr const char kStatusDownloadFailed[] = "下载文件时发生错误，更新中止！";
constexpr const char kStatusCopyFailed[] = "覆盖文件时发生错误，更新中止！";
constexpr const char kStatusUpdated[] = "更新完成！";
// Signed mode: the server description has no signature file, or one that
// does not prove it came from the publisher unchanged.
constexpr const char kStatusBadSignature[] = "更新信息未通过签名验证，更新中止！";
// Signed mode: a component of the description names no SHA-256 of its file.
constexpr const char kStatusNoDigest[] = "更新信息缺少文件校验值，更新中止！";

constexpr const char kFmtInstalled[] = "%s  版本：%s";            // title, version
constexpr const char kFmtNewer[] = "发现新版本：%s %s";           // title, server version
constexpr const char kFmtDownloading[] = "正在下载文件:%s";       // file name
constexpr const char kFmtDownloaded[] = "文件：%s下载完成!";      // file name
constexpr const char kFmtReplaced[] = "%s更新完成!";              // title
constexpr const char kFmtCopyFailed[] = "%s覆盖失败，更新中止!";  // title
// A failed replacement puts back what this run had replaced before it.
constexpr const char kFmtRestored[] = "%s已还原!";         // title
constexpr const char kFmtRestoreFailed[] = "%s还原失败!";  // title
// A downloaded program is not built for this installation's processor kind
// (or is no program at all): nothing is replaced.
constexpr const char kFmtWrongProgram[] = "下载的%s不是%s版程序，更新中止！";            // file name, "x64"/"x86"
constexpr const char kFmtAskEnd[] = "在线升级检测到 %s 正在运行，点击“确定”强制更新！";  // file name

// An error broke off a transfer and the platform had no description of it.
constexpr const char kInternalError[] = "内部应用程序出错。";

// Stands for the title in kFmtCopyFailed when the local description itself
// cannot be replaced.
constexpr const char kLocalIniName[] = "Update.ini";

}  // namespace updtext
}  // namespace vt
