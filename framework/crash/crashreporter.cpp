#include "framework/crash/crashreporter.h"

#include "framework/crash/cbaseexception.h"
#include "framework/crash/crashplatform.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <atomic>

namespace kx {

namespace {

struct CodeLine {
    unsigned code;
    const char* line;
};

// The descriptions are UTF-8 here; a platform whose console expects another code page
// converts them when it writes.
const CodeLine kCodeLines[] = {
    {0xC0000005u, "ACCESS_VIOLATION(读写内存非法)"},
    {0x80000002u, "DATATYPE_MISALIGNMENT(线程视图在不支持对齐的硬件上读写未对齐的数据)"},
    {0x80000003u, "BREAKPOINT(遇到一个断点)"},
    {0x80000004u, "SINGLE_STEP(单步)"},
    {0xC000008Cu, "ARRAY_BOUNDS_EXCEEDED(数组访问越界)"},
    {0xC000008Du, "FLT_DENORMAL_OPERAND(浮点操作的一个操作数不正规，给定的浮点数无法表示)"},
    {0xC000008Eu, "FLT_DIVIDE_BY_ZERO(浮点数除0操作)"},
    {0xC000008Fu, "FLT_INEXACT_RESULT(浮点数操作的结果无法表示)"},
    {0xC0000090u, "FLT_INVALID_OPERATION(其他浮点数异常)"},
    {0xC0000091u, "FLT_OVERFLOW(浮点操作的指数超过了相应类型的最大值)"},
    {0xC0000092u, "STACK_CHECK(栈越界或者栈向下溢出)"},
    {0xC0000093u, "FLT_UNDERFLOW(浮点数操作的指数小于相应类型的最小值)"},
    {0xC0000094u, "INT_DIVIDE_BY_ZERO(整数除0异常)"},
    {0xC0000095u, "INT_OVERFLOW(整数操作越界)"},
    {0xC0000096u, "PRIV_INSTRUCTION(线程试图执行当前机器模式不支持的指令)"},
    {0xC0000006u, "IN_PAGE_ERROR(线程视图访问未加载的虚拟内存页或者不能加载的虚拟内存页)"},
    {0xC0000008u, "INVALID_HANDLE(句柄无效)"},
    {0xC000001Du, "ILLEGAL_INSTRUCTION(线程视图执行无效指令)"},
    {0xC0000025u, "NONCONTINUABLE_EXCEPTION(线程试图在一个不可继续执行的异常发生后继续执行)"},
    {0xC00000FDu, "STACK_OVERFLOW(栈溢出)"},
    {0xC0000026u, "INVALID_DISPOSITION(异常处理程序给异常调度器返回了一个无效配置)"},
};

std::atomic<bool> g_installed{false};
std::atomic<int> g_dumpLimit{10};

}  // namespace

void CrashReporter::install() {
    if (g_installed.exchange(true)) {
        return;
    }
    crashplatform::installHandlers();
}

bool CrashReporter::isInstalled() {
    return g_installed.load();
}

void CrashReporter::prepareThread() {
    crashplatform::prepareThread();
}

void CrashReporter::setDumpTimeLimit(int seconds) {
    g_dumpLimit.store(seconds > 0 ? seconds : 1);
}

int CrashReporter::dumpTimeLimit() {
    return g_dumpLimit.load();
}

const char* CrashReporter::codeLine(unsigned code) {
    for (const CodeLine& entry : kCodeLines) {
        if (entry.code == code) {
            return entry.line;
        }
    }
    return nullptr;
}

void CrashReporter::report(const CrashRecord& record) {
    CBaseException exception(record);
    exception.outputString("Exceptions:\n");
    exception.showExceptionInformation();
}

void CrashReporter::dumpTree() {
    // The tree is read live: other threads may still be running, as the nodes only lock
    // their child lists.
    const QList<DataObject*> nodes = DataManager::instance().rootDobj()->cdobjs();
    for (DataObject* node : nodes) {
        DataManager::writeToXmlFile(QStringLiteral("./crash/%1.icex").arg(node->name()), node, true, false);
    }
}

}  // namespace kx
