#include "UpdaterTexts.h"

namespace {

constexpr TUpdaterTexts kChinese{
    L"Kelvara自动升级",
    L"Kelvara软件正在升级，在升级过程中不影响你继续使用软件",
    L"正在检测升级信息...",
    L"检测到有可用更新，是否进行更新？",
    L"升级进度",
    L"升级内容",
    L"检测到有可用更新，是否进行更新？",
    L"已升级到最新版本",
    L"操作台正在运行，升级需要关闭操作台，是否自动关闭",
    L"已放弃升级，升级失败",
    L"升级完成",
    L"升级失败，已恢复原来的版本",
    L"提示",
    L"无法连接升级服务器，请检查网络后重试。",
    L"下载中断，请稍后重试。",
    L"无法保存下载的文件，请检查磁盘后重试。",
    L"升级包无法读取，请稍后重试。",
};

constexpr TUpdaterTexts kEnglish{
    L"Kelvara Auto update",
    L"Kelvara being upgraded, the upgrade does not affect you continue to use the software",
    L"Upgrade information is detected...",
    L"Update is available to detect whether the update?",
    L"Progress",
    L"Content",
    L"Update is available to detect whether the update?",
    L"Has been upgraded to the latest version",
    L"Operator is running, close the operator needs to upgrade, whether or not self-closing",
    L"The upgrade was abandoned. Nothing was changed.",
    L"Upgrade completed",
    L"Upgrade failed. The previous version has been restored.",
    L"Hint",
    L"The update server cannot be reached. Check the network and try again.",
    L"The download was interrupted. Try again later.",
    L"The downloaded file cannot be saved. Check the disk and try again.",
    L"The update package cannot be read. Try again later.",
};

}  // namespace

const TUpdaterTexts& UpdaterTexts(std::uint8_t Language) { return Language == 1 ? kChinese : kEnglish; }
