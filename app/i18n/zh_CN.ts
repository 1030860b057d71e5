<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AnalyzeTools</name>
    <message>
        <source>Oscilloscope</source>
        <translation>示波器</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>频率</translation>
    </message>
    <message>
        <source> Hz</source>
        <translation> Hz</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Wave file</source>
        <translation>波形文件</translation>
    </message>
    <message>
        <source>TXT Files(*.txt)</source>
        <translation>TXT 文件(*.txt)</translation>
    </message>
    <message>
        <source>Output waveform</source>
        <translation>输出波形</translation>
    </message>
    <message>
        <source>Output waveform: %1</source>
        <translation>输出波形：%1</translation>
    </message>
</context>
<context>
    <name>BinForm</name>
    <message>
        <source>too short for a compressed record</source>
        <translation>数据太短，不是压缩记录</translation>
    </message>
    <message>
        <source>would expand to %1 bytes, more than the %2 allowed</source>
        <translation>将展开为 %1 字节，超过允许的 %2 字节</translation>
    </message>
    <message>
        <source>its size header cannot be true</source>
        <translation>其大小头不可能属实</translation>
    </message>
    <message>
        <source>expands beyond the %1 bytes its header gives</source>
        <translation>展开后超过其头部给出的 %1 字节</translation>
    </message>
    <message>
        <source>not valid compressed data</source>
        <translation>不是有效的压缩数据</translation>
    </message>
</context>
<context>
    <name>BusMonitorPage</name>
    <message>
        <source>Direction</source>
        <translation>方向</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>Received (Rx)</source>
        <translation>接收 (Rx)</translation>
    </message>
    <message>
        <source>Sent (Tx)</source>
        <translation>发送 (Tx)</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>All</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>AT lines</source>
        <translation>AT 指令行</translation>
    </message>
    <message>
        <source>Skipped bytes</source>
        <translation>跳过的字节</translation>
    </message>
    <message>
        <source>CAN ID</source>
        <translation>CAN ID</translation>
    </message>
    <message>
        <source>all, or 1,2,...</source>
        <translation>全部，或 1,2,...</translation>
    </message>
    <message>
        <source>Search the decoded fields and data</source>
        <translation>搜索解码字段和数据</translation>
    </message>
    <message>
        <source>Back to the live bus</source>
        <translation>返回实时总线</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Follow the end</source>
        <translation>跟随最新</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>保存...</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>打开...</translation>
    </message>
    <message>
        <source>File %1</source>
        <translation>文件 %1</translation>
    </message>
    <message>
        <source>%1 records, %2 shown</source>
        <translation>%1 条记录，显示 %2 条</translation>
    </message>
    <message>
        <source>paused, %1 waiting</source>
        <translation>已暂停，%1 条等待</translation>
    </message>
    <message>
        <source>%1 dropped from the start</source>
        <translation>开头丢弃 %1 条</translation>
    </message>
    <message>
        <source>%1 passed the view</source>
        <translation>%1 条未及显示</translation>
    </message>
    <message>
        <source>%1 lost</source>
        <translation>丢失 %1 条</translation>
    </message>
    <message>
        <source>CAN IDs are numbers from 0 to 255, separated by commas.</source>
        <translation>CAN ID 为 0 到 255 的数字，以逗号分隔。</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>Trace saved to %1: %2 frames (%3 AT lines and skipped bytes have no place in the file).</source>
        <translation>报文记录已保存到 %1：%2 帧（%3 条 AT 指令行和跳过的字节无法写入该文件）。</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>%1 frames read from %2.</source>
        <translation>已从 %2 读取 %1 帧。</translation>
    </message>
    <message>
        <source>Save trace</source>
        <translation>保存报文记录</translation>
    </message>
    <message>
        <source>Save only the %1 records the filter shows? No saves the whole trace.</source>
        <translation>只保存筛选显示的 %1 条记录吗？选择“否”保存全部记录。</translation>
    </message>
    <message>
        <source>candump log (*.log);;ASC (*.asc)</source>
        <translation>candump 日志 (*.log);;ASC (*.asc)</translation>
    </message>
    <message>
        <source>Open trace</source>
        <translation>打开报文记录</translation>
    </message>
    <message>
        <source>Traces (*.log *.asc);;All files (*)</source>
        <translation>报文记录 (*.log *.asc);;所有文件 (*)</translation>
    </message>
</context>
<context>
    <name>CANWorker</name>
    <message>
        <source>Serial port %1 is already connected.</source>
        <translation>串口 %1 已连接。</translation>
    </message>
    <message>
        <source>Motor %1</source>
        <translation>电机 %1</translation>
    </message>
    <message>
        <source>Connect overtime, try baud rate: %1</source>
        <translation>连接超时，尝试波特率：%1</translation>
    </message>
    <message>
        <source>Detecting devices at serial port %1</source>
        <translation>正在串口 %1 上检测设备</translation>
    </message>
    <message>
        <source>USB-CAN module configuration failed, please check physical device!</source>
        <translation>USB-CAN 模块配置失败，请检查硬件设备！</translation>
    </message>
    <message>
        <source>USB-CAN module configuration success!</source>
        <translation>USB-CAN 模块配置成功！</translation>
    </message>
    <message>
        <source>Detected device: [MCU ID: 0x%1, CAN ID: %2]</source>
        <translation>检测到设备：[MCU ID: 0x%1, CAN ID: %2]</translation>
    </message>
    <message>
        <source>Too many devices detected!</source>
        <translation>检测到的设备过多！</translation>
    </message>
    <message>
        <source>Multiple devices connection is forbidden.</source>
        <translation>不允许连接多个设备。</translation>
    </message>
    <message>
        <source>Serial port error: %1!</source>
        <translation>串口错误：%1！</translation>
    </message>
    <message>
        <source>Device Not Found Error</source>
        <translation>设备未找到错误</translation>
    </message>
    <message>
        <source>Permission Error</source>
        <translation>权限错误</translation>
    </message>
    <message>
        <source>Open Error</source>
        <translation>打开错误</translation>
    </message>
    <message>
        <source>Parity Error</source>
        <translation>校验错误</translation>
    </message>
    <message>
        <source>Framing Error</source>
        <translation>帧错误</translation>
    </message>
    <message>
        <source>Break Condition Error</source>
        <translation>中断条件错误</translation>
    </message>
    <message>
        <source>Write Error</source>
        <translation>写入错误</translation>
    </message>
    <message>
        <source>Read Error</source>
        <translation>读取错误</translation>
    </message>
    <message>
        <source>Resource Error</source>
        <translation>资源错误</translation>
    </message>
    <message>
        <source>Unsupported Operation Error</source>
        <translation>不支持的操作错误</translation>
    </message>
    <message>
        <source>Unknown Error</source>
        <translation>未知错误</translation>
    </message>
    <message>
        <source>Timeout Error</source>
        <translation>超时错误</translation>
    </message>
    <message>
        <source>Not Open Error</source>
        <translation>未打开错误</translation>
    </message>
    <message>
        <source>Invalid announce package (ex data: %1, ex id: %2)!</source>
        <translation>无效的广播包（扩展数据：%1，扩展 ID：%2）！</translation>
    </message>
    <message>
        <source>%1 Serial port %2 is gone; it is reconnected when it comes back.</source>
        <translation>%1 串口 %2 已断开；重新接入后将自动重连。</translation>
    </message>
    <message>
        <source>%1 Serial port %2 is gone; its motors and pages are kept.</source>
        <translation>%1 串口 %2 已断开；其电机与页面均已保留。</translation>
    </message>
    <message>
        <source>Serial port %1 is gone (the adapter was unplugged?). Its motors and open pages are kept.

Reconnect as soon as it is back?</source>
        <translation>串口 %1 已断开（适配器被拔出？）。其电机与已打开的页面均已保留。

串口恢复后立即重新连接？</translation>
    </message>
    <message>
        <source>Detecting devices on CAN interface %1</source>
        <translation>正在检测 CAN 接口 %1 上的设备</translation>
    </message>
    <message>
        <source>%1 Its motors and pages are kept.</source>
        <translation>%1 其电机和页面已保留。</translation>
    </message>
    <message>
        <source>%1 It is reconnected when it comes back.</source>
        <translation>%1 恢复后将自动重新连接。</translation>
    </message>
    <message>
        <source>The CAN interface %1 is gone. Its motors and open pages are kept.

Reconnect as soon as it is back?</source>
        <translation>CAN 接口 %1 已断开。其电机和已打开的页面已保留。

接口恢复后立即重新连接？</translation>
    </message>
</context>
<context>
    <name>CalibrateFlow</name>
    <message>
        <source>No motor to calibrate.</source>
        <translation>没有要校准的电机。</translation>
    </message>
    <message>
        <source>The adapter was disconnected before the calibration started.</source>
        <translation>校准开始前适配器已断开。</translation>
    </message>
    <message>
        <source>The motor did not enter calibration mode.</source>
        <translation>电机未进入校准模式。</translation>
    </message>
    <message>
        <source>Calibrating encoder...</source>
        <translation>正在校准编码器...</translation>
    </message>
    <message>
        <source>The adapter was disconnected during the calibration.</source>
        <translation>校准过程中适配器已断开。</translation>
    </message>
    <message>
        <source>The calibration did not finish in time.</source>
        <translation>校准未能按时完成。</translation>
    </message>
    <message>
        <source>calibrating</source>
        <translation>正在校准</translation>
    </message>
    <message>
        <source>Saving calibration result...</source>
        <translation>正在保存校准结果...</translation>
    </message>
</context>
<context>
    <name>CanBusTransport</name>
    <message>
        <source>Nothing serves the virtual CAN bus %1:%2 (start its server first, e.g. trivane-sim --bus virtualcan:%3).</source>
        <translation>虚拟 CAN 总线 %1:%2 没有服务端（请先启动服务端，例如 trivane-sim --bus virtualcan:%3）。</translation>
    </message>
    <message>
        <source>%1 is not a CAN interface (PLUGIN:INTERFACE).</source>
        <translation>%1 不是 CAN 接口（格式为 插件:接口）。</translation>
    </message>
    <message>
        <source>No CAN interface %1.</source>
        <translation>没有 CAN 接口 %1。</translation>
    </message>
    <message>
        <source>Cannot open the CAN interface %1: %2</source>
        <translation>无法打开 CAN 接口 %1：%2</translation>
    </message>
    <message>
        <source>The CAN interface %1 was disconnected.</source>
        <translation>CAN 接口 %1 已断开。</translation>
    </message>
    <message>
        <source>The CAN interface %1 did not come up within %2 s.</source>
        <translation>CAN 接口 %1 在 %2 秒内未能连接。</translation>
    </message>
    <message>
        <source>Cannot read from the CAN interface %1: %2</source>
        <translation>无法从 CAN 接口 %1 读取：%2</translation>
    </message>
    <message>
        <source>The CAN interface %1 failed: %2</source>
        <translation>CAN 接口 %1 出错：%2</translation>
    </message>
    <message>
        <source>The CAN interface %1 refused its configuration: %2</source>
        <translation>CAN 接口 %1 拒绝了配置：%2</translation>
    </message>
</context>
<context>
    <name>CaptureTable</name>
    <message>
        <source>line %1: a recording starts with &quot;time&quot; and its channels</source>
        <translation>第 %1 行：录制数据应以 &quot;time&quot; 及其通道开头</translation>
    </message>
    <message>
        <source>line %1: %2 values where %3 belong</source>
        <translation>第 %1 行：有 %2 个值，应为 %3 个</translation>
    </message>
    <message>
        <source>line %1: &quot;%2&quot; is not a number</source>
        <translation>第 %1 行：&quot;%2&quot; 不是数字</translation>
    </message>
    <message>
        <source>the recording is empty</source>
        <translation>录制数据为空</translation>
    </message>
</context>
<context>
    <name>ChannelDialog</name>
    <message>
        <source>Select channel</source>
        <translation>选择通道</translation>
    </message>
    <message>
        <source>Channel %1</source>
        <translation>通道 %1</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Legend</source>
        <translation>图例</translation>
    </message>
</context>
<context>
    <name>ClearAlarmFlow</name>
    <message>
        <source>The motor did not answer the alarm clear.</source>
        <translation>电机未响应清除报警。</translation>
    </message>
    <message>
        <source>Motor %1 still reports a fault (0x%2).</source>
        <translation>电机 %1 仍报告故障 (0x%2)。</translation>
    </message>
    <message>
        <source>clearing its alarm</source>
        <translation>正在清除报警</translation>
    </message>
</context>
<context>
    <name>CommissionJob</name>
    <message>
        <source>The window was closed.</source>
        <translation>窗口已关闭。</translation>
    </message>
    <message>
        <source>unknown reason</source>
        <translation>原因不明</translation>
    </message>
</context>
<context>
    <name>CommissionPage</name>
    <message>
        <source>The commissioning page was closed.</source>
        <translation>调试页面已关闭。</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>计划</translation>
    </message>
    <message>
        <source>Choose a commissioning plan (YAML)</source>
        <translation>选择调试计划（YAML）</translation>
    </message>
    <message>
        <source>Choose...</source>
        <translation>选择...</translation>
    </message>
    <message>
        <source>Motors</source>
        <translation>电机</translation>
    </message>
    <message>
        <source>Every motor on the bus</source>
        <translation>总线上的所有电机</translation>
    </message>
    <message>
        <source>One motor, CAN ID:</source>
        <translation>单个电机，CAN ID：</translation>
    </message>
    <message>
        <source>Reports in</source>
        <translation>报告目录</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>工位</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Emergency stop (Esc)</source>
        <translation>急停 (Esc)</translation>
    </message>
    <message>
        <source>Brake every connected motor; the run ends and leaves its motors in reset mode.</source>
        <translation>制动所有已连接的电机；调试结束，其电机置于复位模式。</translation>
    </message>
    <message>
        <source>Open report</source>
        <translation>打开报告</translation>
    </message>
    <message>
        <source>Motors on the bus</source>
        <translation>总线上的电机</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>步骤</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Measured</source>
        <translation>测量值</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>说明</translation>
    </message>
    <message>
        <source>Open a commissioning plan</source>
        <translation>打开调试计划</translation>
    </message>
    <message>
        <source>Commissioning plans (*.yaml *.yml)</source>
        <translation>调试计划 (*.yaml *.yml)</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n step(s)</source>
        <translation>
            <numerusform>%1：%n 个步骤</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The plan cannot run: %n problem(s).</source>
        <translation>
            <numerusform>该计划无法运行：%n 个问题。</numerusform>
        </translation>
    </message>
    <message>
        <source>Not connected: connect the adapter on the Device tab.</source>
        <translation>未连接：请在“设备”页连接适配器。</translation>
    </message>
    <message>
        <source>Motor %1  MCU %2</source>
        <translation>电机 %1  MCU %2</translation>
    </message>
    <message>
        <source>model %1</source>
        <translation>型号 %1</translation>
    </message>
    <message>
        <source>No motor detected yet: the run scans the bus.</source>
        <translation>尚未检测到电机：调试时会扫描总线。</translation>
    </message>
    <message>
        <source>A commissioning run is already going on.</source>
        <translation>已有调试正在进行。</translation>
    </message>
    <message>
        <source>Choose a plan that can run first.</source>
        <translation>请先选择一个可运行的计划。</translation>
    </message>
    <message>
        <source>Connect the adapter first (Device tab, Connect).</source>
        <translation>请先连接适配器（“设备”页，连接）。</translation>
    </message>
    <message>
        <source>Detecting the motors...</source>
        <translation>正在检测电机...</translation>
    </message>
    <message>
        <source>Cancelled by the operator.</source>
        <translation>操作员已取消。</translation>
    </message>
    <message>
        <source>position</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>velocity</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>torque</source>
        <translation>力矩</translation>
    </message>
    <message>
        <source>detect</source>
        <translation>检测</translation>
    </message>
    <message>
        <source>identify</source>
        <translation>识别</translation>
    </message>
    <message>
        <source>set CAN ID</source>
        <translation>设置 CAN ID</translation>
    </message>
    <message>
        <source>flash</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>parameters</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>zero</source>
        <translation>零点</translation>
    </message>
    <message>
        <source>calibrate</source>
        <translation>校准</translation>
    </message>
    <message>
        <source>move</source>
        <translation>运动</translation>
    </message>
    <message>
        <source>capture</source>
        <translation>录波</translation>
    </message>
    <message>
        <source>E-stop</source>
        <translation>急停</translation>
    </message>
    <message>
        <source>prompt</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>wait</source>
        <translation>等待</translation>
    </message>
    <message>
        <source>running</source>
        <translation>运行中</translation>
    </message>
    <message>
        <source>Motor %1</source>
        <translation>电机 %1</translation>
    </message>
    <message>
        <source>MCU %1, model %2</source>
        <translation>MCU %1，型号 %2</translation>
    </message>
    <message numerus="yes">
        <source>%n motor(s) in the run.</source>
        <translation>
            <numerusform>本次调试包含 %n 个电机。</numerusform>
        </translation>
    </message>
    <message>
        <source>running %1%</source>
        <translation>运行中 %1%</translation>
    </message>
    <message>
        <source>The reports could not be written: %1</source>
        <translation>无法写入报告：%1</translation>
    </message>
    <message>
        <source>Reports: %1</source>
        <translation>报告：%1</translation>
    </message>
    <message>
        <source>The run was not kept in the station&apos;s records: %1</source>
        <translation>本次调试未保存到工位记录：%1</translation>
    </message>
</context>
<context>
    <name>CommissionRunner</name>
    <message>
        <source>The run was cancelled.</source>
        <translation>运行已取消。</translation>
    </message>
    <message>
        <source>commissioning</source>
        <translation>调试</translation>
    </message>
    <message>
        <source>Detect the motors</source>
        <translation>检测电机</translation>
    </message>
    <message>
        <source>The motors could not be detected.</source>
        <translation>无法检测电机。</translation>
    </message>
    <message>
        <source>No motor answered.</source>
        <translation>没有电机应答。</translation>
    </message>
    <message>
        <source>Motor %1 did not answer.</source>
        <translation>电机 %1 未应答。</translation>
    </message>
    <message>
        <source>%1 motors answer (CAN IDs %2): choose one with --can-id or all of them with --all.</source>
        <translation>%1 台电机应答（CAN ID %2）：用 --can-id 选择一台，或用 --all 选择全部。</translation>
    </message>
    <message>
        <source>motors</source>
        <translation>电机数</translation>
    </message>
    <message>
        <source>model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>one of %1</source>
        <translation>属于 %1 之一</translation>
    </message>
    <message>
        <source>Motor %1 left in reset mode.</source>
        <translation>电机 %1 已置于复位模式。</translation>
    </message>
    <message>
        <source>Motor %1 could not be put into reset mode: %2</source>
        <translation>电机 %1 无法置于复位模式：%2</translation>
    </message>
    <message>
        <source>not run: %1</source>
        <translation>未运行：%1</translation>
    </message>
    <message>
        <source>not run: step %1 did not pass</source>
        <translation>未运行：第 %1 步未通过</translation>
    </message>
    <message>
        <source>This step cannot run with this link.</source>
        <translation>此连接无法运行该步骤。</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>The flow reported nothing for motor %1.</source>
        <translation>流程未报告电机 %1 的结果。</translation>
    </message>
    <message>
        <source>(no such entry)</source>
        <translation>（无此条目）</translation>
    </message>
    <message>
        <source>known</source>
        <translation>已知</translation>
    </message>
    <message>
        <source>No CAN ID from %1 up is free.</source>
        <translation>从 %1 起没有空闲的 CAN ID。</translation>
    </message>
    <message>
        <source>CAN ID %1 belongs to another motor on the bus.</source>
        <translation>CAN ID %1 已被总线上的另一台电机占用。</translation>
    </message>
    <message>
        <source>The motor already has CAN ID %1.</source>
        <translation>电机的 CAN ID 已是 %1。</translation>
    </message>
    <message>
        <source>CAN ID</source>
        <translation>CAN ID</translation>
    </message>
    <message>
        <source>The motor already runs %1.</source>
        <translation>电机已在运行 %1。</translation>
    </message>
    <message>
        <source>Replacing %1 with %2.</source>
        <translation>用 %2 替换 %1。</translation>
    </message>
    <message numerus="yes">
        <source>%n entries written.</source>
        <translation>
            <numerusform>已写入 %n 个条目。</numerusform>
        </translation>
    </message>
    <message>
        <source>a number</source>
        <translation>一个数字</translation>
    </message>
    <message>
        <source>offset</source>
        <translation>偏移</translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) lost on the line.</source>
        <translation>
            <numerusform>线路上丢失 %n 条记录。</numerusform>
        </translation>
    </message>
    <message>
        <source>The recording is unreadable: %1</source>
        <translation>录制数据无法读取：%1</translation>
    </message>
    <message>
        <source>brake confirmed after</source>
        <translation>刹车确认用时</translation>
    </message>
    <message>
        <source>Nobody can answer the prompt.</source>
        <translation>无人可以回答该提示。</translation>
    </message>
    <message>
        <source>The operator declined.</source>
        <translation>操作员拒绝了。</translation>
    </message>
    <message>
        <source>Confirmed.</source>
        <translation>已确认。</translation>
    </message>
    <message>
        <source>The adapter was disconnected.</source>
        <translation>适配器已断开。</translation>
    </message>
    <message>
        <source>Motor %1 reports an alarm before the run: %2</source>
        <translation>电机 %1 在调试开始前已报告告警：%2</translation>
    </message>
    <message numerus="yes">
        <source>The adapter went away: waiting up to %n second(s) for it to come back, to leave the motors safe.</source>
        <translation>
            <numerusform>适配器已断开：最多等待 %n 秒让其恢复，以便使电机处于安全状态。</numerusform>
        </translation>
    </message>
    <message>
        <source>Motor %1 could not be reached to leave it safe: %2</source>
        <translation>无法连接电机 %1 使其处于安全状态：%2</translation>
    </message>
    <message>
        <source>alarm</source>
        <translation>告警</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Motor %1 reported a fault: %2</source>
        <translation>电机 %1 报告故障：%2</translation>
    </message>
    <message>
        <source>applied</source>
        <translation>已应用</translation>
    </message>
</context>
<context>
    <name>CommissionScreens</name>
    <message>
        <source>Commission</source>
        <translation>调试</translation>
    </message>
</context>
<context>
    <name>CommissionVerb</name>
    <message>
        <source>Take one motor, or every motor on the bus, through a commissioning plan and write its reports
(report.json, JUnit XML, an HTML and a PDF report per motor). Exit 0 when every motor passed,
1 when one did not, 2 when the plan or the command line is wrong.</source>
        <translation>让一台电机或总线上的每台电机执行调试计划并写出报告
（report.json、JUnit XML、每台电机一份 HTML 和 PDF 报告）。全部电机通过时退出码为 0，
有电机未通过时为 1，计划或命令行有误时为 2。</translation>
    </message>
    <message>
        <source>Commission every motor on the bus.</source>
        <translation>调试总线上的每台电机。</translation>
    </message>
    <message>
        <source>Folder for the run&apos;s report folder (default: reports).</source>
        <translation>存放本次运行报告文件夹的目录（默认：reports）。</translation>
    </message>
    <message>
        <source>dir</source>
        <translation>目录</translation>
    </message>
    <message>
        <source>Also write the JUnit XML to this file.</source>
        <translation>同时把 JUnit XML 写入此文件。</translation>
    </message>
    <message>
        <source>file</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Answer every operator prompt with yes.</source>
        <translation>对每个操作员提示都回答“是”。</translation>
    </message>
    <message>
        <source>Name of this station in the reports (default: host name).</source>
        <translation>报告中本工位的名称（默认：主机名）。</translation>
    </message>
    <message>
        <source>name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Name of the operator in the reports (default: login name).</source>
        <translation>报告中操作员的姓名（默认：登录名）。</translation>
    </message>
    <message>
        <source>The plan file (YAML).</source>
        <translation>计划文件（YAML）。</translation>
    </message>
    <message>
        <source>commission expects one plan file.</source>
        <translation>commission 需要一个计划文件。</translation>
    </message>
    <message>
        <source>Give either --all or --can-id, not both.</source>
        <translation>只能给出 --all 或 --can-id 其中之一。</translation>
    </message>
    <message>
        <source>Stopped by SIGTERM.</source>
        <translation>已被 SIGTERM 停止。</translation>
    </message>
    <message>
        <source>Stopped by Ctrl+C.</source>
        <translation>已被 Ctrl+C 停止。</translation>
    </message>
    <message>
        <source>[motor %1] %2/%3 %4 ...</source>
        <translation>[电机 %1] %2/%3 %4 ...</translation>
    </message>
    <message>
        <source>[motor %1] %2/%3 %4: %5 %6 %7</source>
        <translation>[电机 %1] %2/%3 %4：%5 %6 %7</translation>
    </message>
    <message>
        <source>The reports could not be written: %1</source>
        <translation>无法写出报告：%1</translation>
    </message>
    <message>
        <source>%1 [yes: --yes]</source>
        <translation>%1 [是：--yes]</translation>
    </message>
    <message>
        <source>Nobody can answer &quot;%1&quot; without a terminal; --yes answers prompts.</source>
        <translation>没有终端，无人能回答“%1”；--yes 可自动回答提示。</translation>
    </message>
    <message>
        <source>%1 [y/N]</source>
        <translation>%1 [y/N]</translation>
    </message>
    <message>
        <source>Result: %1</source>
        <translation>结果：%1</translation>
    </message>
    <message>
        <source>Reports: %1</source>
        <translation>报告：%1</translation>
    </message>
    <message>
        <source>Where runs are kept: a records server (postgresql://user@host/database) or file.</source>
        <translation>运行记录的保存位置：记录服务器（postgresql://user@host/database）或文件。</translation>
    </message>
    <message>
        <source>url|file</source>
        <translation>url|文件</translation>
    </message>
    <message>
        <source>The run was not kept in the station&apos;s records: %1</source>
        <translation>本次运行未能保存到工位记录中：%1</translation>
    </message>
    <message>
        <source>%1 runs wait to be sent to the records server: %2</source>
        <translation>%1 次运行等待发送到记录服务器：%2</translation>
    </message>
</context>
<context>
    <name>ConfigFile</name>
    <message>
        <source>The configuration file %1 could not be read; the default settings are used.</source>
        <translation>无法读取配置文件 %1，已使用默认设置。</translation>
    </message>
    <message>
        <source>The damaged file could not be kept aside and is replaced when the program ends.</source>
        <translation>损坏的文件无法另行保留，程序结束时将被替换。</translation>
    </message>
    <message>
        <source>The damaged file was kept as %1.</source>
        <translation>损坏的文件已保留为 %1。</translation>
    </message>
</context>
<context>
    <name>ConfigureTools</name>
    <message>
        <source>Param Table</source>
        <translation>参数表</translation>
    </message>
    <message>
        <source>Upload Param</source>
        <translation>上传参数</translation>
    </message>
    <message>
        <source>Download Param</source>
        <translation>下载参数</translation>
    </message>
    <message>
        <source>Export Param</source>
        <translation>导出参数</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>备份</translation>
    </message>
    <message>
        <source>Restore...</source>
        <translation>还原...</translation>
    </message>
    <message>
        <source>Factory Reset</source>
        <translation>恢复出厂设置</translation>
    </message>
    <message>
        <source>Clear Alarm</source>
        <translation>清除报警</translation>
    </message>
    <message>
        <source>Are you sure to upload parameters from %1 device? Current changes will be discarded.</source>
        <translation>确定要从设备 %1 上传参数吗？当前的修改将被丢弃。</translation>
    </message>
    <message>
        <source>Are you sure to download modified parameters to %1 device?</source>
        <translation>确定要将修改后的参数下载到设备 %1 吗？</translation>
    </message>
    <message>
        <source>Are you sure to reset %1 parameters to default factory configuration?</source>
        <translation>确定要将 %1 的参数恢复为出厂默认配置吗？</translation>
    </message>
    <message>
        <source>The parameter table has not been read yet.</source>
        <translation>尚未读取参数表。</translation>
    </message>
    <message>
        <source>Backup parameters</source>
        <translation>备份参数</translation>
    </message>
    <message>
        <source>Parameter backups (*.json)</source>
        <translation>参数备份 (*.json)</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>Parameters of %1 backed up to %2</source>
        <translation>%1 的参数已备份到 %2</translation>
    </message>
    <message>
        <source>Restore parameters</source>
        <translation>还原参数</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>%1 was taken from the motor with MCU ID 0x%2; this motor is 0x%3. Restore it here all the same?</source>
        <translation>%1 取自 MCU ID 为 0x%2 的电机；当前电机为 0x%3。仍要恢复到此电机吗？</translation>
    </message>
</context>
<context>
    <name>DetectDeviceDialog</name>
    <message>
        <source>Detect Devices</source>
        <translation>检测设备</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Devices Connection&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;设备连接&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>Module</source>
        <translation>模块</translation>
    </message>
    <message>
        <source>USB-CAN (AT Command)</source>
        <translation>USB-CAN（AT 指令）</translation>
    </message>
    <message>
        <source>COM</source>
        <translation>串口</translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Click &lt;a href=&quot;driver&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#007af4;&quot;&gt;here&lt;/span&gt;&lt;/a&gt; to install ch340 driver.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;点击&lt;a href=&quot;driver&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#007af4;&quot;&gt;此处&lt;/span&gt;&lt;/a&gt;安装 CH340 驱动。&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The adapter&apos;s serial port, or a CAN interface as PLUGIN:INTERFACE (socketcan:can0, virtualcan:tcp://127.0.0.1:35468/can0)</source>
        <translation>适配器的串口，或以 插件:接口 表示的 CAN 接口（socketcan:can0、virtualcan:tcp://127.0.0.1:35468/can0）</translation>
    </message>
    <message>
        <source>CAN interface</source>
        <translation>CAN 接口</translation>
    </message>
</context>
<context>
    <name>DetectFlow</name>
    <message>
        <source>There is no link.</source>
        <translation>没有通信链路。</translation>
    </message>
    <message>
        <source>The adapter is not connected.</source>
        <translation>适配器未连接。</translation>
    </message>
    <message>
        <source>Connecting to %1</source>
        <translation>正在连接 %1</translation>
    </message>
    <message>
        <source>Cannot open %1.</source>
        <translation>无法打开 %1。</translation>
    </message>
    <message>
        <source>Detecting devices at %1</source>
        <translation>正在 %1 上检测设备</translation>
    </message>
    <message>
        <source>CAN ID %1 did not answer: scanning the bus.</source>
        <translation>CAN ID %1 无应答：正在扫描总线。</translation>
    </message>
    <message>
        <source>USB-CAN module configuration failed, please check physical device!</source>
        <translation>USB-CAN 模块配置失败，请检查物理设备！</translation>
    </message>
    <message>
        <source>Detection timed out on %1.</source>
        <translation>在 %1 上检测超时。</translation>
    </message>
    <message>
        <source>No motor answered on %1.</source>
        <translation>%1 上没有电机应答。</translation>
    </message>
    <message>
        <source>No motor with CAN ID %1 on %2.</source>
        <translation>%2 上没有 CAN ID 为 %1 的电机。</translation>
    </message>
    <message>
        <source>detecting</source>
        <translation>正在检测</translation>
    </message>
    <message>
        <source>The adapter on %1 did not answer.</source>
        <translation>%1 上的适配器无应答。</translation>
    </message>
</context>
<context>
    <name>DeviceInfoPage</name>
    <message>
        <source>&lt;h2&gt;Device&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;设备&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Device Name&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;设备名称&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>Z48 Motor</source>
        <translation>Z48 电机</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Device Connection&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;设备连接&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>CAN - Serial Port</source>
        <translation>CAN - 串口</translation>
    </message>
    <message>
        <source>MCU ID</source>
        <translation>MCU ID</translation>
    </message>
    <message>
        <source>0x1234567890</source>
        <translation>0x1234567890</translation>
    </message>
    <message>
        <source>CAN ID</source>
        <translation>CAN ID</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Product&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;产品&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Proeduct Name&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;产品名称&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>Quellon</source>
        <translation>Quellon</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Product Color&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;产品颜色&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>黑色</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Product Image&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;产品图片&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>&lt;h4&gt;T-N Feature&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;T-N 特性&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Max Load Feature&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;最大负载特性&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>No activated device!</source>
        <translation>没有激活的设备！</translation>
    </message>
    <message>
        <source>Device %1 CAN ID set successfully!</source>
        <translation>设备 %1 的 CAN ID 设置成功！</translation>
    </message>
    <message>
        <source>Device %1 CAN ID set failed!</source>
        <translation>设备 %1 的 CAN ID 设置失败！</translation>
    </message>
    <message>
        <source>Firmware Version</source>
        <translation>固件版本</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>已断开</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>读取</translation>
    </message>
</context>
<context>
    <name>DeviceList</name>
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>MCU ID</source>
        <translation>MCU ID</translation>
    </message>
</context>
<context>
    <name>DeviceTools</name>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>断开</translation>
    </message>
    <message>
        <source>Device Info</source>
        <translation>设备信息</translation>
    </message>
    <message>
        <source>Encoder Calibration</source>
        <translation>编码器校准</translation>
    </message>
    <message>
        <source>Change CAN ID</source>
        <translation>修改 CAN ID</translation>
    </message>
    <message>
        <source>Reset Zero Postion</source>
        <translation>重置零点</translation>
    </message>
    <message>
        <source>Motor initialization</source>
        <translation>电机初始化</translation>
    </message>
    <message>
        <source>Right Front 1</source>
        <translation>右前 1</translation>
    </message>
    <message>
        <source>Right Behind 1</source>
        <translation>右后 1</translation>
    </message>
    <message>
        <source>Left Front 1</source>
        <translation>左前 1</translation>
    </message>
    <message>
        <source>Left Behind  1</source>
        <translation>左后 1</translation>
    </message>
    <message>
        <source>Right Front 2</source>
        <translation>右前 2</translation>
    </message>
    <message>
        <source>Right Behind 2</source>
        <translation>右后 2</translation>
    </message>
    <message>
        <source>Left Front 2</source>
        <translation>左前 2</translation>
    </message>
    <message>
        <source>Left Behind 2</source>
        <translation>左后 2</translation>
    </message>
    <message>
        <source>No. 3</source>
        <translation>3 号</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>Are you sure to disconnect?</source>
        <translation>确定要断开连接吗？</translation>
    </message>
    <message>
        <source>The motor will rotate during calibration, are you sure to continue?</source>
        <translation>校准过程中电机会转动，确定要继续吗？</translation>
    </message>
    <message>
        <source>Preparing calibration...</source>
        <translation>正在准备校准...</translation>
    </message>
    <message>
        <source>Calibration failed!</source>
        <translation>校准失败！</translation>
    </message>
    <message>
        <source>Calibrating encoder...</source>
        <translation>正在校准编码器...</translation>
    </message>
    <message>
        <source>Saving calibration result...</source>
        <translation>正在保存校准结果...</translation>
    </message>
    <message>
        <source>Calibration aborted: the adapter was disconnected.</source>
        <translation>校准中止：适配器已断开。</translation>
    </message>
    <message>
        <source>Calibration aborted: the device was removed.</source>
        <translation>校准中止：设备已被移除。</translation>
    </message>
    <message>
        <source>Open Binary File</source>
        <translation>打开二进制文件</translation>
    </message>
    <message>
        <source>Binary File(*.bin *.hex)</source>
        <translation>二进制文件(*.bin *.hex)</translation>
    </message>
    <message>
        <source>Erasing flash...</source>
        <translation>正在擦除 Flash...</translation>
    </message>
    <message>
        <source>Sending file... %1%</source>
        <translation>正在发送文件... %1%</translation>
    </message>
    <message>
        <source>%1 (MCU ID 0x%2, CAN ID %3)</source>
        <translation>%1（MCU ID 0x%2，CAN ID %3）</translation>
    </message>
    <message>
        <source>Reconnect</source>
        <translation>重新连接</translation>
    </message>
    <message>
        <source>Connect the last serial port again; the motors listed keep their pages.</source>
        <translation>重新连接上次的串口；列出的电机保留其页面。</translation>
    </message>
    <message>
        <source>The CAN ID to give the active motor; with &quot;auto increase&quot; on it moves to the next ID once the motor has taken this one.</source>
        <translation>要分配给当前电机的 CAN ID；开启“自动递增”时，电机接受该 ID 后才跳到下一个。</translation>
    </message>
    <message>
        <source>Serial port %1 is not there yet: plug the adapter in again.</source>
        <translation>串口 %1 尚未出现：请重新插入适配器。</translation>
    </message>
    <message>
        <source>Set the present position of %1 as its mechanical zero? Positions are counted from there afterwards.</source>
        <translation>将 %1 的当前位置设为机械零点？此后位置从该点起算。</translation>
    </message>
    <message>
        <source>Reading the firmware version...</source>
        <translation>正在读取固件版本...</translation>
    </message>
    <message>
        <source>Update the firmware of %1?

File: %2 (%3 bytes)
Running version: %4

Are you sure to update? This may take a while.</source>
        <translation>升级 %1 的固件？

文件：%2（%3 字节）
当前版本：%4

确定要升级吗？这可能需要一段时间。</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>Firmware update of %1 from %2 (%3 bytes), running version %4</source>
        <translation>%1 固件升级，文件 %2（%3 字节），当前版本 %4</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>The motor did not report its firmware version after the update.</source>
        <translation>升级后电机未报告其固件版本。</translation>
    </message>
    <message>
        <source>The firmware version is still %1: the motor may not run the new image.</source>
        <translation>固件版本仍为 %1：电机可能未运行新固件。</translation>
    </message>
    <message>
        <source>Firmware version: %1</source>
        <translation>固件版本：%1</translation>
    </message>
    <message>
        <source>Firmware version: %1 (was %2)</source>
        <translation>固件版本：%1（原为 %2）</translation>
    </message>
</context>
<context>
    <name>DeviceWidget</name>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>值</translation>
    </message>
    <message>
        <source>Tarn Motor %1</source>
        <translation>Tarn 电机 %1</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>已断开</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>信息</translation>
    </message>
    <message>
        <source>Manufactory</source>
        <translation>厂商</translation>
    </message>
    <message>
        <source>MCU ID</source>
        <translation>MCU ID</translation>
    </message>
    <message>
        <source>CAN ID</source>
        <translation>CAN ID</translation>
    </message>
    <message>
        <source>Param</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>报警</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>实时</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Velocity</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Torque</source>
        <translation>力矩</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>No recent feedback</source>
        <translation>近期无反馈</translation>
    </message>
    <message>
        <source>No feedback yet</source>
        <translation>尚无反馈</translation>
    </message>
    <message>
        <source>Stale</source>
        <translation>已过期</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>等待中</translation>
    </message>
</context>
<context>
    <name>DriverHelp</name>
    <message>
        <source>The CH340 driver is built into the Linux kernel: there is nothing to install.

If opening the port fails with &quot;Permission denied&quot;, add your user to the dialout group and log in again:
    sudo usermod -aG dialout $USER

or give everyone access to the adapter with a udev rule:
    echo &apos;SUBSYSTEM==&quot;tty&quot;, ATTRS{idVendor}==&quot;1a86&quot;, ATTRS{idProduct}==&quot;7523&quot;, MODE=&quot;0666&quot;&apos; | sudo tee /etc/udev/rules.d/99-usb-can.rules
    sudo udevadm control --reload-rules &amp;&amp; sudo udevadm trigger

then unplug the adapter and plug it in again.</source>
        <translation>CH340 驱动已内置于 Linux 内核，无需安装。

如果打开串口时提示“Permission denied”，请将当前用户加入 dialout 组并重新登录：
    sudo usermod -aG dialout $USER

或者用 udev 规则允许所有用户访问该适配器：
    echo &apos;SUBSYSTEM==&quot;tty&quot;, ATTRS{idVendor}==&quot;1a86&quot;, ATTRS{idProduct}==&quot;7523&quot;, MODE=&quot;0666&quot;&apos; | sudo tee /etc/udev/rules.d/99-usb-can.rules
    sudo udevadm control --reload-rules &amp;&amp; sudo udevadm trigger

然后拔下适配器再重新插入。</translation>
    </message>
    <message>
        <source>The driver installer could not be started.</source>
        <translation>无法启动驱动安装程序。</translation>
    </message>
    <message>
        <source>Serial port access on Linux</source>
        <translation>Linux 下的串口访问权限</translation>
    </message>
</context>
<context>
    <name>Editor</name>
    <message>
        <source>%1 - %2</source>
        <translation>%1 - %2</translation>
    </message>
</context>
<context>
    <name>EmptyHint</name>
    <message numerus="yes">
        <source>&lt;p&gt;&lt;b&gt;%n motor(s) connected.&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Open a page from the tool strip: &lt;b&gt;Device Info&lt;/b&gt; on the Device tab, &lt;b&gt;Param Table&lt;/b&gt; on the Configure tab, &lt;b&gt;Oscilloscope&lt;/b&gt; on the Analyze tab.&lt;/p&gt;</source>
        <translation>
            <numerusform>&lt;p&gt;&lt;b&gt;已连接 %n 台电机。&lt;/b&gt;&lt;/p&gt;&lt;p&gt;从工具栏打开页面：“设备”选项卡中的&lt;b&gt;设备信息&lt;/b&gt;，“配置”选项卡中的&lt;b&gt;参数表&lt;/b&gt;，“分析”选项卡中的&lt;b&gt;示波器&lt;/b&gt;。&lt;/p&gt;</numerusform>
        </translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Looking for motors on the bus…&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Nothing found yet? Check the adapter&apos;s CAN wiring, the motors&apos; power and the bus termination.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;正在总线上查找电机…&lt;/b&gt;&lt;/p&gt;&lt;p&gt;还没有找到？请检查适配器的 CAN 接线、电机电源和总线终端电阻。&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;No motor connected.&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Plug in the USB-CAN adapter, then choose &lt;b&gt;Connect&lt;/b&gt; on the Device tab and pick its serial port.&lt;/p&gt;&lt;p&gt;No hardware at hand? Start the simulated bench:&lt;/p&gt;&lt;p&gt;&lt;code&gt;%1&lt;/code&gt;&lt;/p&gt;&lt;p&gt;and connect to &lt;code&gt;%2&lt;/code&gt;.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;未连接电机。&lt;/b&gt;&lt;/p&gt;&lt;p&gt;插入 USB-CAN 适配器，然后在“设备”选项卡中点击&lt;b&gt;连接&lt;/b&gt;并选择它的串口。&lt;/p&gt;&lt;p&gt;手头没有硬件？启动模拟测试台：&lt;/p&gt;&lt;p&gt;&lt;code&gt;%1&lt;/code&gt;&lt;/p&gt;&lt;p&gt;然后连接到 &lt;code&gt;%2&lt;/code&gt;。&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>EstopFlow</name>
    <message>
        <source>The adapter is not connected.</source>
        <translation>适配器未连接。</translation>
    </message>
    <message>
        <source>Motor %1 did not confirm brake mode.</source>
        <translation>电机 %1 未确认制动模式。</translation>
    </message>
    <message>
        <source>braking</source>
        <translation>正在制动</translation>
    </message>
</context>
<context>
    <name>EstopVerb</name>
    <message>
        <source>Brake the target motor at once, or every motor detected with --all.</source>
        <translation>立即让目标电机刹车，或用 --all 让检测到的每台电机刹车。</translation>
    </message>
    <message>
        <source>Brake every motor on the bus.</source>
        <translation>让总线上的每台电机刹车。</translation>
    </message>
    <message>
        <source>estop takes no arguments: %1</source>
        <translation>estop 不接受参数：%1</translation>
    </message>
    <message numerus="yes">
        <source>Braking %n motor(s)...</source>
        <translation>
            <numerusform>正在让 %n 台电机刹车...</numerusform>
        </translation>
    </message>
    <message>
        <source>Motor %1 did not confirm brake mode.</source>
        <translation>电机 %1 未确认刹车模式。</translation>
    </message>
</context>
<context>
    <name>FeatureChart</name>
    <message>
        <source>Torque - speed</source>
        <translation>转矩 - 转速</translation>
    </message>
    <message>
        <source>Speed (rpm)</source>
        <translation>转速 (rpm)</translation>
    </message>
    <message>
        <source>Torque (N·m)</source>
        <translation>转矩 (N·m)</translation>
    </message>
    <message>
        <source>Peak torque</source>
        <translation>峰值转矩</translation>
    </message>
    <message>
        <source>Rated torque</source>
        <translation>额定转矩</translation>
    </message>
    <message>
        <source>Maximum load over time</source>
        <translation>最大负载随时间变化</translation>
    </message>
    <message>
        <source>Time (s)</source>
        <translation>时间 (s)</translation>
    </message>
    <message>
        <source>Load (kg at 0.1 m)</source>
        <translation>负载 (kg，力臂 0.1 m)</translation>
    </message>
    <message>
        <source>Max load</source>
        <translation>最大负载</translation>
    </message>
</context>
<context>
    <name>FirmwareFlow</name>
    <message>
        <source>Enter update mode overtime!</source>
        <translation>进入升级模式超时！</translation>
    </message>
    <message>
        <source>File contains no data!</source>
        <translation>文件不包含数据！</translation>
    </message>
    <message>
        <source>File size over 512KB!</source>
        <translation>文件大小超过 512KB！</translation>
    </message>
    <message>
        <source>Sending file info failed!</source>
        <translation>发送文件信息失败！</translation>
    </message>
    <message>
        <source>Erasing flash failed!</source>
        <translation>擦除 Flash 失败！</translation>
    </message>
    <message>
        <source>The adapter was disconnected during the update.</source>
        <translation>升级过程中适配器已断开。</translation>
    </message>
    <message>
        <source>The motor was removed during the update.</source>
        <translation>升级过程中电机已被移除。</translation>
    </message>
    <message>
        <source>Update timeout!</source>
        <translation>升级超时！</translation>
    </message>
    <message>
        <source>Update successfully!</source>
        <translation>升级成功！</translation>
    </message>
    <message>
        <source>Update failed!</source>
        <translation>升级失败！</translation>
    </message>
    <message>
        <source>updating its firmware</source>
        <translation>正在更新固件</translation>
    </message>
</context>
<context>
    <name>FirmwareUpdate</name>
    <message>
        <source>File contains no data!</source>
        <translation>文件不包含数据！</translation>
    </message>
    <message>
        <source>File size over 512KB!</source>
        <translation>文件大小超过 512KB！</translation>
    </message>
    <message>
        <source>Cannot read the file %1: %2</source>
        <translation>无法读取文件 %1：%2</translation>
    </message>
</context>
<context>
    <name>FlashVerb</name>
    <message>
        <source>Send a firmware image (.bin/.hex, at most 512 KiB) to the target motor; succeeds only
when the motor&apos;s end check accepts it. Progress (percent, packets/s, time left) on stderr.</source>
        <translation>向目标电机发送固件映像（.bin/.hex，最大 512 KiB）；只有电机的最终校验
接受后才算成功。进度（百分比、包/秒、剩余时间）输出到 stderr。</translation>
    </message>
    <message>
        <source>The firmware image.</source>
        <translation>固件映像。</translation>
    </message>
    <message>
        <source>flash expects one file.</source>
        <translation>flash 需要一个文件。</translation>
    </message>
</context>
<context>
    <name>Flow</name>
    <message>
        <source>cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>The adapter was disconnected.</source>
        <translation>适配器已断开。</translation>
    </message>
    <message>
        <source>The motor was removed.</source>
        <translation>电机已被移除。</translation>
    </message>
    <message>
        <source>Motor %1: %2</source>
        <translation>电机 %1：%2</translation>
    </message>
</context>
<context>
    <name>HelpScreens</name>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Instruction</source>
        <translation>使用说明</translation>
    </message>
</context>
<context>
    <name>HelpTools</name>
    <message>
        <source>Instruction</source>
        <translation>使用说明</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>关于 %1</translation>
    </message>
    <message>
        <source>版本 %1

编译 %2</source>
        <translation>版本 %1

编译 %2</translation>
    </message>
</context>
<context>
    <name>Helper</name>
    <message>
        <source>%1 Error</source>
        <translation>%1 错误</translation>
    </message>
    <message>
        <source>%1 Information</source>
        <translation>%1 信息</translation>
    </message>
    <message>
        <source>%1 Warning</source>
        <translation>%1 警告</translation>
    </message>
    <message>
        <source>%1 Notice</source>
        <translation>%1 提示</translation>
    </message>
    <message>
        <source>No activated device!</source>
        <translation>没有激活的设备！</translation>
    </message>
</context>
<context>
    <name>HtmlReport</name>
    <message>
        <source>The recording cannot be drawn: %1</source>
        <translation>无法绘制录制数据：%1</translation>
    </message>
    <message>
        <source>time (s)</source>
        <translation>时间 (s)</translation>
    </message>
    <message numerus="yes">
        <source>%n sample(s)</source>
        <translation>
            <numerusform>%n 个采样</numerusform>
        </translation>
    </message>
    <message>
        <source>Motor</source>
        <translation>电机</translation>
    </message>
    <message>
        <source>MCU ID</source>
        <translation>MCU ID</translation>
    </message>
    <message>
        <source>CAN ID</source>
        <translation>CAN ID</translation>
    </message>
    <message>
        <source>Model code</source>
        <translation>型号代码</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>固件</translation>
    </message>
    <message>
        <source>not read</source>
        <translation>未读取</translation>
    </message>
    <message>
        <source>Parameter table SHA-256</source>
        <translation>参数表 SHA-256</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Ended</source>
        <translation>结束</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>计划</translation>
    </message>
    <message>
        <source>Plan SHA-256</source>
        <translation>计划 SHA-256</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>工位</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
    <message>
        <source>Tool version</source>
        <translation>工具版本</translation>
    </message>
    <message>
        <source>Run outcome</source>
        <translation>运行结果</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>步骤</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>步骤</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>用时</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>说明</translation>
    </message>
    <message>
        <source>Measurement</source>
        <translation>测量项</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>值</translation>
    </message>
    <message>
        <source>Limits</source>
        <translation>限值</translation>
    </message>
    <message>
        <source>Recording:</source>
        <translation>录制数据：</translation>
    </message>
    <message numerus="yes">
        <source>Log (%n line(s))</source>
        <translation>
            <numerusform>日志（%n 行）</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>InfoVerb</name>
    <message>
        <source>Show the target&apos;s name, MCU ID, CAN ID and model code.</source>
        <translation>显示目标的名称、MCU ID、CAN ID 和型号代码。</translation>
    </message>
    <message>
        <source>info takes no arguments: %1</source>
        <translation>info 不接受参数：%1</translation>
    </message>
    <message>
        <source>Name: %1</source>
        <translation>名称：%1</translation>
    </message>
    <message>
        <source>MCU ID: 0x%1</source>
        <translation>MCU ID：0x%1</translation>
    </message>
    <message>
        <source>CAN ID: %1</source>
        <translation>CAN ID：%1</translation>
    </message>
    <message>
        <source>Model code: %1</source>
        <translation>型号代码：%1</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>The motor did not answer the model query.</source>
        <translation>电机未应答型号查询。</translation>
    </message>
</context>
<context>
    <name>JUnitReport</name>
    <message>
        <source>Detect the motors</source>
        <translation>检测电机</translation>
    </message>
    <message>
        <source>No motor answered.</source>
        <translation>没有电机应答。</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>--language expects one of %1, not &quot;%2&quot;.</source>
        <translation>--language 应为 %1 之一，而不是“%2”。</translation>
    </message>
</context>
<context>
    <name>LastRunLabel</name>
    <message>
        <source>Last commissioning: &lt;b&gt;%1&lt;/b&gt; on %2 (%3, %4) &amp;nbsp; &lt;a href=&quot;history&quot;&gt;History&lt;/a&gt;</source>
        <translation>上次调试：&lt;b&gt;%1&lt;/b&gt;，%2（%3，%4）&amp;nbsp; &lt;a href=&quot;history&quot;&gt;历史&lt;/a&gt;</translation>
    </message>
    <message>
        <source>no plan name</source>
        <translation>无计划名称</translation>
    </message>
</context>
<context>
    <name>LeftTitle</name>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新建</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>另存为</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
</context>
<context>
    <name>LinkCommands</name>
    <message>
        <source>CAN ID %1 is outside the range [1, 127]: command refused.</source>
        <translation>CAN ID %1 超出范围 [1, 127]：命令被拒绝。</translation>
    </message>
    <message>
        <source>can id = %1</source>
        <translation>CAN ID = %1</translation>
    </message>
    <message>
        <source>Invalid object write (index %1).</source>
        <translation>无效的对象写入（索引 %1）。</translation>
    </message>
    <message>
        <source>index = %1, value = %2</source>
        <translation>索引 = %1，值 = %2</translation>
    </message>
    <message>
        <source>Value %1 is outside the range [0, 4294967295]: command refused.</source>
        <translation>值 %1 超出范围 [0, 4294967295]：命令被拒绝。</translation>
    </message>
    <message>
        <source>speed = %1, flag = %2</source>
        <translation>速度 = %1，标志 = %2</translation>
    </message>
    <message>
        <source>MIT control</source>
        <translation>MIT 控制</translation>
    </message>
    <message>
        <source>interpolated position mode</source>
        <translation>插补位置模式</translation>
    </message>
    <message>
        <source>velocity mode</source>
        <translation>速度模式</translation>
    </message>
    <message>
        <source>current mode</source>
        <translation>电流模式</translation>
    </message>
    <message>
        <source>zero mode</source>
        <translation>零点模式</translation>
    </message>
    <message>
        <source>position mode</source>
        <translation>位置模式</translation>
    </message>
    <message>
        <source>collision detection</source>
        <translation>碰撞检测</translation>
    </message>
    <message>
        <source>open loop mode</source>
        <translation>开环模式</translation>
    </message>
    <message>
        <source>Set %1 mode successfully!</source>
        <translation>设置%1成功！</translation>
    </message>
    <message>
        <source>Set %1 mode failed!</source>
        <translation>设置%1失败！</translation>
    </message>
    <message>
        <source>Set the mechanical zero successfully!</source>
        <translation>设置机械零点成功！</translation>
    </message>
    <message>
        <source>&lt;Encoder calibrating&gt; Rotor angle = %1, Stator flux angle = %2, Sensor value = %3</source>
        <translation>&lt;编码器校准中&gt; 转子角度 = %1，定子磁链角度 = %2，传感器值 = %3</translation>
    </message>
    <message>
        <source>&lt;Encoder calibration result&gt; Device: %1, Number: %2, Index: %3, Correction: %4</source>
        <translation>&lt;编码器校准结果&gt; 设备：%1，编号：%2，索引：%3，修正值：%4</translation>
    </message>
    <message>
        <source>&lt;Encoder calibration finish&gt; Device: %1, Encoder Electrical Offset: %2</source>
        <translation>&lt;编码器校准完成&gt; 设备：%1，编码器电角度偏移：%2</translation>
    </message>
    <message>
        <source>Device %1 encoder calibration finish.
Encoder Electrical Offset: %2</source>
        <translation>设备 %1 编码器校准完成。
编码器电角度偏移：%2</translation>
    </message>
    <message>
        <source>Run mode %1 is outside the range [0, 255]: command refused.</source>
        <translation>运行模式 %1 超出范围 [0, 255]：命令被拒绝。</translation>
    </message>
    <message>
        <source>CAN ID %1 is outside the range [0, 255]: command refused.</source>
        <translation>CAN ID %1 超出范围 [0, 255]：命令被拒绝。</translation>
    </message>
    <message>
        <source>CAN ID %1 belongs to %2 (MCU ID 0x%3): command refused.</source>
        <translation>CAN ID %1 已属于 %2 (MCU ID 0x%3)：命令被拒绝。</translation>
    </message>
    <message>
        <source>Send Z48 Command %1 to CAN(%2)</source>
        <translation>向 CAN(%2) 发送 Z48 命令 %1</translation>
    </message>
    <message>
        <source>Send Z48 Command %1 to CAN(%3): %2</source>
        <translation>向 CAN(%3) 发送 Z48 命令 %1：%2</translation>
    </message>
    <message>
        <source>break mode</source>
        <translation>制动模式</translation>
    </message>
    <message>
        <source>motor mode</source>
        <translation>电机模式</translation>
    </message>
    <message>
        <source>reset mode</source>
        <translation>复位模式</translation>
    </message>
    <message>
        <source>unknown mode (%1)</source>
        <translation>未知模式 (%1)</translation>
    </message>
</context>
<context>
    <name>LinkLease</name>
    <message>
        <source>the bus is busy: %1</source>
        <translation>总线正忙：%1</translation>
    </message>
    <message>
        <source>motor %1 is busy: %2</source>
        <translation>电机 %1 正忙：%2</translation>
    </message>
</context>
<context>
    <name>LinkRunFlows</name>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
</context>
<context>
    <name>LinkSession</name>
    <message>
        <source>Serial device of the USB-CAN adapter (required).</source>
        <translation>USB-CAN 适配器的串口设备（必需）。</translation>
    </message>
    <message>
        <source>device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Line rate of the adapter (default: config.baud_rate).</source>
        <translation>适配器的线路速率（默认：config.baud_rate）。</translation>
    </message>
    <message>
        <source>rate</source>
        <translation>速率</translation>
    </message>
    <message>
        <source>CAN ID of the target motor (default: the first one detected).</source>
        <translation>目标电机的 CAN ID（默认：检测到的第一台）。</translation>
    </message>
    <message>
        <source>id</source>
        <translation>id</translation>
    </message>
    <message>
        <source>Detect every motor on the bus.</source>
        <translation>检测总线上的每台电机。</translation>
    </message>
    <message>
        <source>Machine-readable output.</source>
        <translation>机器可读的输出。</translation>
    </message>
    <message>
        <source>Invalid baud rate: %1</source>
        <translation>无效的波特率：%1</translation>
    </message>
    <message>
        <source>Invalid CAN ID (1..127): %1</source>
        <translation>无效的 CAN ID（1..127）：%1</translation>
    </message>
    <message>
        <source>No motor with CAN ID %1 on %2.</source>
        <translation>%2 上没有 CAN ID 为 %1 的电机。</translation>
    </message>
    <message>
        <source>CAN interface instead of a serial adapter, as PLUGIN:INTERFACE (socketcan:can0, virtualcan:tcp://127.0.0.1:35468/can0).</source>
        <translation>使用 CAN 接口代替串口适配器，格式为 PLUGIN:INTERFACE (socketcan:can0, virtualcan:tcp://127.0.0.1:35468/can0)。</translation>
    </message>
    <message>
        <source>interface</source>
        <translation>接口</translation>
    </message>
    <message>
        <source>--port and --bus exclude each other.</source>
        <translation>--port 与 --bus 不能同时使用。</translation>
    </message>
    <message>
        <source>Not a CAN interface (PLUGIN:INTERFACE with one of %1): %2</source>
        <translation>不是 CAN 接口（PLUGIN:INTERFACE，插件为 %1 之一）：%2</translation>
    </message>
    <message>
        <source>--port or --bus is required.</source>
        <translation>需要 --port 或 --bus。</translation>
    </message>
</context>
<context>
    <name>LinkVerb</name>
    <message>
        <source>%1 expects %2 argument(s).</source>
        <translation>%1 需要 %2 个参数。</translation>
    </message>
    <message>
        <source>Not a number: %1</source>
        <translation>不是数字：%1</translation>
    </message>
    <message>
        <source>%1 expects a whole number from %2 to %3: %4</source>
        <translation>%1 需要 %2 到 %3 之间的整数：%4</translation>
    </message>
    <message>
        <source>mode expects reset, motor or brake.</source>
        <translation>mode 需要 reset、motor 或 brake。</translation>
    </message>
    <message>
        <source>Send the value as an unsigned integer.</source>
        <translation>把该值作为无符号整数发送。</translation>
    </message>
    <message>
        <source>MCU ID: 0x%1  CAN ID: %2  model: %3</source>
        <translation>MCU ID：0x%1  CAN ID：%2  型号：%3</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
</context>
<context>
    <name>LiveValues</name>
    <message>
        <source>Reset</source>
        <translation>复位</translation>
    </message>
    <message>
        <source>Calibration</source>
        <translation>标定</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>Brake</source>
        <translation>制动</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>%1 rad</source>
        <translation>%1 rad</translation>
    </message>
    <message>
        <source>%1 rad/s</source>
        <translation>%1 rad/s</translation>
    </message>
    <message>
        <source>%1 N·m</source>
        <translation>%1 N·m</translation>
    </message>
</context>
<context>
    <name>LogVerb</name>
    <message>
        <source>%1 and %2 are the same file.</source>
        <translation>%1 和 %2 是同一个文件。</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>%1 frames written to %2.</source>
        <translation>已向 %2 写入 %1 帧。</translation>
    </message>
    <message>
        <source>Convert a trace between candump (.log) and ASC (.asc), or print a trace file decoded with per-CAN-ID statistics. Lines that are not of the format are reported with their number and skipped.</source>
        <translation>在 candump (.log) 与 ASC (.asc) 之间转换报文记录，或解码打印报文记录文件并给出各 CAN ID 的统计。不符合格式的行会报告其行号并跳过。</translation>
    </message>
    <message>
        <source>show: print only the records that match.</source>
        <translation>show：只打印匹配的记录。</translation>
    </message>
    <message>
        <source>expr</source>
        <translation>表达式</translation>
    </message>
    <message>
        <source>Machine-readable output.</source>
        <translation>机器可读输出。</translation>
    </message>
    <message>
        <source>What to do.</source>
        <translation>要执行的操作。</translation>
    </message>
    <message>
        <source>log expects: convert &lt;in&gt; &lt;out&gt; | show &lt;file&gt;</source>
        <translation>log 需要：convert &lt;输入&gt; &lt;输出&gt; | show &lt;文件&gt;</translation>
    </message>
</context>
<context>
    <name>ModeFlow</name>
    <message>
        <source>braking</source>
        <translation>正在制动</translation>
    </message>
    <message>
        <source>switching on</source>
        <translation>正在使能</translation>
    </message>
    <message>
        <source>resetting</source>
        <translation>正在复位</translation>
    </message>
    <message>
        <source>Motor %1 did not confirm brake mode.</source>
        <translation>电机 %1 未确认制动模式。</translation>
    </message>
    <message>
        <source>Motor %1 did not confirm motor mode.</source>
        <translation>电机 %1 未确认运行模式。</translation>
    </message>
    <message>
        <source>Motor %1 did not confirm reset mode.</source>
        <translation>电机 %1 未确认复位模式。</translation>
    </message>
</context>
<context>
    <name>MonitorScreens</name>
    <message>
        <source>Bus Monitor</source>
        <translation>总线监视器</translation>
    </message>
</context>
<context>
    <name>MonitorVerb</name>
    <message>
        <source>Print every record of the bus decoded (JSON lines with --json) until Ctrl+C or --seconds, record every frame into a candump or ASC file with --log, and print per-CAN-ID statistics on stderr at the end. Filter terms: dir=rx|tx type=NAME|NUMBER,... id=N,... and free text.</source>
        <translation>解码打印总线上的每条记录（--json 时为 JSON 行），直到 Ctrl+C 或 --seconds 到时；--log 将每一帧记录到 candump 或 ASC 文件；结束时在 stderr 打印各 CAN ID 的统计。筛选条件：dir=rx|tx type=名称|编号,... id=N,... 以及自由文本。</translation>
    </message>
    <message>
        <source>Stop after this time.</source>
        <translation>经过此时间后停止。</translation>
    </message>
    <message>
        <source>s</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>Print only the records that match.</source>
        <translation>只打印匹配的记录。</translation>
    </message>
    <message>
        <source>expr</source>
        <translation>表达式</translation>
    </message>
    <message>
        <source>Record every frame into this file (.asc: ASC, otherwise candump).</source>
        <translation>将每一帧记录到此文件（.asc 为 ASC，否则为 candump）。</translation>
    </message>
    <message>
        <source>file</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Configure the adapter and listen, without detecting motors.</source>
        <translation>配置适配器并监听，不检测电机。</translation>
    </message>
    <message>
        <source>monitor takes no arguments: %1</source>
        <translation>monitor 不接受参数：%1</translation>
    </message>
    <message>
        <source>--seconds expects a time above 0 and at most a week.</source>
        <translation>--seconds 需要大于 0 且不超过一周的时间。</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>No motor was detected; listening all the same.</source>
        <translation>未检测到电机；仍继续监听。</translation>
    </message>
    <message>
        <source>Monitoring for %1 s.</source>
        <translation>监视 %1 秒。</translation>
    </message>
    <message>
        <source>Monitoring; Ctrl+C ends.</source>
        <translation>正在监视；按 Ctrl+C 结束。</translation>
    </message>
    <message>
        <source>The link closed.</source>
        <translation>连接已关闭。</translation>
    </message>
    <message>
        <source>%1 frames written to %2.</source>
        <translation>已向 %2 写入 %1 帧。</translation>
    </message>
    <message>
        <source>%1 records printed.</source>
        <translation>已打印 %1 条记录。</translation>
    </message>
    <message>
        <source>%1 lines were not printed: the terminal could not keep up.</source>
        <translation>%1 行未打印：终端处理不及。</translation>
    </message>
    <message>
        <source>%1 records were lost by the monitor (it fell behind the bus).</source>
        <translation>监视丢失了 %1 条记录（未能跟上总线）。</translation>
    </message>
</context>
<context>
    <name>MotionGuard</name>
    <message>
        <source>emergency stop</source>
        <translation>急停</translation>
    </message>
</context>
<context>
    <name>MotorFaults</name>
    <message>
        <source>%1 fault: %2</source>
        <translation>%1 故障：%2</translation>
    </message>
    <message>
        <source>%1 warning: %2</source>
        <translation>%1 警告：%2</translation>
    </message>
    <message>
        <source>flags %1</source>
        <translation>标志 %1</translation>
    </message>
    <message>
        <source>fault %1</source>
        <translation>故障 %1</translation>
    </message>
    <message>
        <source>warning %1</source>
        <translation>警告 %1</translation>
    </message>
</context>
<context>
    <name>MotorFrames</name>
    <message>
        <source>No motor model known yet (the value ranges are empty): %1 refused.</source>
        <translation>尚未获知电机型号（取值范围为空）：%1 被拒绝。</translation>
    </message>
    <message>
        <source>%1 %2 is outside the range [%3, %4]: command refused.</source>
        <translation>%1 %2 超出范围 [%3, %4]：命令被拒绝。</translation>
    </message>
</context>
<context>
    <name>MoveFlow</name>
    <message>
        <source>The adapter is not connected.</source>
        <translation>适配器未连接。</translation>
    </message>
    <message>
        <source>Motor %1 did not tell its model.</source>
        <translation>电机 %1 未报告其型号。</translation>
    </message>
    <message>
        <source>Motor %1 did not switch on.</source>
        <translation>电机 %1 未使能。</translation>
    </message>
    <message>
        <source>Settling</source>
        <translation>正在稳定</translation>
    </message>
    <message>
        <source>Motor %1 did not report its feedback.</source>
        <translation>电机 %1 未报告反馈。</translation>
    </message>
    <message>
        <source>moving</source>
        <translation>正在运动</translation>
    </message>
</context>
<context>
    <name>OscilloscopePage</name>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Auto-scroll</source>
        <translation>自动滚动</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>导出 CSV</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>Channel %1</source>
        <translation>通道 %1</translation>
    </message>
    <message>
        <source>Records: %1   Lost: %2</source>
        <translation>记录：%1   丢失：%2</translation>
    </message>
    <message>
        <source>CSV Files(*.csv)</source>
        <translation>CSV 文件(*.csv)</translation>
    </message>
    <message>
        <source>Cannot export to %1: %2</source>
        <translation>无法导出到 %1：%2</translation>
    </message>
    <message>
        <source>What is shown</source>
        <translation>当前显示的数据</translation>
    </message>
    <message>
        <source>The whole recording</source>
        <translation>全部记录</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>已断开</translation>
    </message>
    <message>
        <source>What is shown (%1 records)</source>
        <translation>当前显示的数据（%1 条记录）</translation>
    </message>
    <message>
        <source>The whole recording (%1 records)</source>
        <translation>全部记录（%1 条记录）</translation>
    </message>
    <message>
        <source>   Paused: %1 shown</source>
        <translation>   已暂停：显示 %1 条</translation>
    </message>
    <message>
        <source>Waveform exported to %1 (%2 records)</source>
        <translation>波形已导出到 %1（%2 条记录）</translation>
    </message>
</context>
<context>
    <name>Outcomes</name>
    <message>
        <source>PASS</source>
        <translation>通过</translation>
    </message>
    <message>
        <source>MARGINAL</source>
        <translation>临界</translation>
    </message>
    <message>
        <source>SKIPPED</source>
        <translation>跳过</translation>
    </message>
    <message>
        <source>FAIL</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>错误</translation>
    </message>
</context>
<context>
    <name>Panel</name>
    <message>
        <source>Log</source>
        <translation>日志</translation>
    </message>
    <message>
        <source>Communication</source>
        <translation>通信</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清空</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Hide the panel</source>
        <translation>隐藏面板</translation>
    </message>
    <message>
        <source>yyyy/MM/dd hh:mm:ss</source>
        <translation>yyyy/MM/dd hh:mm:ss</translation>
    </message>
    <message>
        <source>communication</source>
        <translation>通信</translation>
    </message>
    <message>
        <source>log</source>
        <translation>日志</translation>
    </message>
    <message>
        <source>Export %1 file</source>
        <translation>导出%1文件</translation>
    </message>
    <message>
        <source>Cannot write to %1!</source>
        <translation>无法写入 %1！</translation>
    </message>
</context>
<context>
    <name>ParamApplyFlow</name>
    <message>
        <source>There is no motor with CAN ID %1.</source>
        <translation>没有 CAN ID 为 %1 的电机。</translation>
    </message>
    <message>
        <source>Motor %1: %2 of %3 entries written and read back</source>
        <translation>电机 %1：已写入并回读 %2/%3 项</translation>
    </message>
    <message>
        <source>The parameters of motor %1 cannot be written now.</source>
        <translation>现在无法写入电机 %1 的参数。</translation>
    </message>
    <message>
        <source>The write was not confirmed.</source>
        <translation>写入未被确认。</translation>
    </message>
    <message>
        <source>This build has no parameter table.</source>
        <translation>此版本没有参数表。</translation>
    </message>
    <message>
        <source>Nothing was written: %1</source>
        <translation>未写入任何内容：%1</translation>
    </message>
    <message>
        <source>No motor to write to.</source>
        <translation>没有要写入的电机。</translation>
    </message>
    <message>
        <source>writing its parameters</source>
        <translation>正在写入参数</translation>
    </message>
</context>
<context>
    <name>ParamBackup</name>
    <message>
        <source>not a JSON object (%1)</source>
        <translation>不是 JSON 对象（%1）</translation>
    </message>
    <message>
        <source>not a parameter backup</source>
        <translation>不是参数备份</translation>
    </message>
    <message>
        <source>no MCU ID</source>
        <translation>缺少 MCU ID</translation>
    </message>
    <message>
        <source>entry %1 is damaged</source>
        <translation>条目 %1 已损坏</translation>
    </message>
    <message>
        <source>entry %1 appears twice</source>
        <translation>条目 %1 重复出现</translation>
    </message>
    <message>
        <source>the list of entries is missing or damaged</source>
        <translation>条目列表缺失或已损坏</translation>
    </message>
</context>
<context>
    <name>ParamCompareView</name>
    <message>
        <source>Select two runs of the motor in its timeline and press Compare Parameters.</source>
        <translation>在电机的时间线中选择两次运行，然后点击“比较参数”。</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>代码</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>(missing)</source>
        <translation>（缺失）</translation>
    </message>
    <message>
        <source>%1 %2 = %3</source>
        <translation>%1 %2 = %3</translation>
    </message>
    <message>
        <source>The two parameter tables are the same.</source>
        <translation>两个参数表相同。</translation>
    </message>
    <message>
        <source>No writable entry differs; %1 read-only entries do.</source>
        <translation>没有可写条目不同；%1 个只读条目不同。</translation>
    </message>
    <message>
        <source>%1 writable entries differ (bold), %2 other entries.</source>
        <translation>%1 个可写条目不同（粗体），另有 %2 个其他条目。</translation>
    </message>
</context>
<context>
    <name>ParamDiff</name>
    <message>
        <source>%1 %2: %3 -&gt; %4</source>
        <translation>%1 %2：%3 -&gt; %4</translation>
    </message>
    <message>
        <source>%1 %2: only on the left (%3)</source>
        <translation>%1 %2：仅在左侧（%3）</translation>
    </message>
    <message>
        <source>%1 %2: only on the right (%3)</source>
        <translation>%1 %2：仅在右侧（%3）</translation>
    </message>
    <message>
        <source>%1: %2 (%3) became %4 (%5)</source>
        <translation>%1：%2（%3）变为 %4（%5）</translation>
    </message>
    <message>
        <source>Read-only and live entries (not counted):</source>
        <translation>只读和实时条目（不计入）：</translation>
    </message>
</context>
<context>
    <name>ParamFeature</name>
    <message>
        <source>Reload all parameters table successfully!</source>
        <translation>重新加载全部参数表成功！</translation>
    </message>
    <message>
        <source>Param saved successfully!</source>
        <translation>参数保存成功！</translation>
    </message>
</context>
<context>
    <name>ParamReadFlow</name>
    <message>
        <source>There is no motor with CAN ID %1.</source>
        <translation>没有 CAN ID 为 %1 的电机。</translation>
    </message>
    <message>
        <source>%1 of %2 values read</source>
        <translation>已读取 %1/%2 个值</translation>
    </message>
    <message>
        <source>The parameter table of motor %1 cannot be read now.</source>
        <translation>现在无法读取电机 %1 的参数表。</translation>
    </message>
    <message>
        <source>The table of motor %1 could not be read reliably: %2</source>
        <translation>无法可靠地读取电机 %1 的参数表：%2</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>无应答</translation>
    </message>
    <message>
        <source>Reading the parameter description...</source>
        <translation>正在读取参数描述...</translation>
    </message>
    <message>
        <source>The motor did not describe its parameter table.</source>
        <translation>电机未描述其参数表。</translation>
    </message>
    <message>
        <source>reading its parameters</source>
        <translation>正在读取参数</translation>
    </message>
</context>
<context>
    <name>ParamRestorePlan</name>
    <message>
        <source>not on the motor</source>
        <translation>电机上没有此项</translation>
    </message>
    <message>
        <source>the motor has %1 (%2) here; the backup has %3 (%4)</source>
        <translation>电机上此处为 %1（%2）；备份中为 %3（%4）</translation>
    </message>
    <message>
        <source>not a text of at most 16 ASCII characters</source>
        <translation>不是最多 16 个 ASCII 字符的文本</translation>
    </message>
    <message>
        <source>%1 is not a %2</source>
        <translation>%1 不是 %2</translation>
    </message>
    <message>
        <source>%1 is outside [%2, %3]</source>
        <translation>%1 超出范围 [%2, %3]</translation>
    </message>
    <message>
        <source>read-only on the motor</source>
        <translation>在电机上为只读</translation>
    </message>
</context>
<context>
    <name>ParamTablePage</name>
    <message>
        <source>Code</source>
        <translation>代码</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Property</source>
        <translation>属性</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>最大值</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>最小值</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>值</translation>
    </message>
    <message>
        <source>String</source>
        <translation>字符串</translation>
    </message>
    <message>
        <source>R/W</source>
        <translation>读写</translation>
    </message>
    <message>
        <source>RO</source>
        <translation>只读</translation>
    </message>
    <message>
        <source>Config</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设定</translation>
    </message>
    <message>
        <source>Addr[0x%1] modified</source>
        <translation>地址[0x%1]已修改</translation>
    </message>
    <message>
        <source>Please input ASCII charaters</source>
        <translation>请输入 ASCII 字符</translation>
    </message>
    <message>
        <source>Value out of range</source>
        <translation>值超出范围</translation>
    </message>
    <message>
        <source>Excel file</source>
        <translation>Excel 文件</translation>
    </message>
    <message>
        <source>Excel Files(*.xlsx)</source>
        <translation>Excel 文件(*.xlsx)</translation>
    </message>
    <message>
        <source>CSV Files(*.csv)</source>
        <translation>CSV 文件(*.csv)</translation>
    </message>
    <message>
        <source>Exporting...</source>
        <translation>正在导出...</translation>
    </message>
    <message>
        <source>Param table export failed: %1</source>
        <translation>参数表导出失败：%1</translation>
    </message>
    <message>
        <source>Param table export successfully!</source>
        <translation>参数表导出成功！</translation>
    </message>
    <message>
        <source>Param table has been exported, do you want to open it now?</source>
        <translation>参数表已导出，是否立即打开？</translation>
    </message>
    <message>
        <source>Disconnected: the values shown are the last ones read from the motor.</source>
        <translation>已断开：显示的是最后一次从电机读取的值。</translation>
    </message>
    <message>
        <source>%1 already exists. Do you want to replace it?</source>
        <translation>%1 已存在。要替换它吗？</translation>
    </message>
    <message>
        <source>Download parameters table successfully!</source>
        <translation>下载参数表成功！</translation>
    </message>
    <message>
        <source>Download failed: %1</source>
        <translation>下载失败：%1</translation>
    </message>
    <message>
        <source>Not confirmed by reading back: %1</source>
        <translation>回读未确认：%1</translation>
    </message>
    <message>
        <source>Nothing was saved in the motor&apos;s flash.</source>
        <translation>没有任何内容保存到电机的闪存中。</translation>
    </message>
</context>
<context>
    <name>ParamTransfer</name>
    <message>
        <source>invalid type</source>
        <translation>无效类型</translation>
    </message>
    <message>
        <source>missing type</source>
        <translation>缺少类型</translation>
    </message>
    <message>
        <source>missing number</source>
        <translation>缺少编号</translation>
    </message>
    <message>
        <source>disordered number</source>
        <translation>编号乱序</translation>
    </message>
    <message>
        <source>storage overflow</source>
        <translation>存储溢出</translation>
    </message>
    <message>
        <source>frame lost</source>
        <translation>丢帧</translation>
    </message>
    <message>
        <source>type &amp; data mismatch</source>
        <translation>类型与数据不匹配</translation>
    </message>
    <message>
        <source>write string number mismatch</source>
        <translation>写入字符串数量不匹配</translation>
    </message>
    <message>
        <source>read string number mismatch</source>
        <translation>读取字符串数量不匹配</translation>
    </message>
    <message>
        <source>write param number mismatch</source>
        <translation>写入参数数量不匹配</translation>
    </message>
    <message>
        <source>read param number mismatch</source>
        <translation>读取参数数量不匹配</translation>
    </message>
    <message>
        <source>Reload parameters table failed: %1</source>
        <translation>重新加载参数表失败：%1</translation>
    </message>
    <message>
        <source>/no such code</source>
        <translation>/无此代码</translation>
    </message>
    <message>
        <source>/wrong type</source>
        <translation>/类型错误</translation>
    </message>
    <message>
        <source>/loss frame</source>
        <translation>/丢帧</translation>
    </message>
    <message>
        <source>/number mismatch</source>
        <translation>/数量不匹配</translation>
    </message>
    <message>
        <source>Read param from </source>
        <translation>读取参数 </translation>
    </message>
    <message>
        <source> failed: </source>
        <translation> 失败：</translation>
    </message>
    <message>
        <source>/code mismatch</source>
        <translation>/代码不匹配</translation>
    </message>
    <message>
        <source>/command mismatch</source>
        <translation>/命令不匹配</translation>
    </message>
    <message>
        <source>/no such command</source>
        <translation>/无此命令</translation>
    </message>
    <message>
        <source>/save failed</source>
        <translation>/保存失败</translation>
    </message>
    <message>
        <source>/forbid to save</source>
        <translation>/禁止保存</translation>
    </message>
    <message>
        <source>/forbid to modify</source>
        <translation>/禁止修改</translation>
    </message>
    <message>
        <source>/value out of range</source>
        <translation>/值超出范围</translation>
    </message>
    <message>
        <source>/wrong frame</source>
        <translation>/帧错误</translation>
    </message>
    <message>
        <source>/type error</source>
        <translation>/类型错误</translation>
    </message>
    <message>
        <source>/unwritable</source>
        <translation>/不可写</translation>
    </message>
    <message>
        <source>Write param to </source>
        <translation>写入参数 </translation>
    </message>
    <message>
        <source>failed: </source>
        <translation> 失败：</translation>
    </message>
</context>
<context>
    <name>ParamVerifier</name>
    <message>
        <source>The adapter was disconnected.</source>
        <translation>适配器已断开。</translation>
    </message>
    <message>
        <source>The motor was removed.</source>
        <translation>电机已被移除。</translation>
    </message>
    <message>
        <source>The motor was disconnected.</source>
        <translation>电机已断开。</translation>
    </message>
    <message>
        <source>not written</source>
        <translation>未写入</translation>
    </message>
    <message>
        <source>the motor did not answer the write</source>
        <translation>电机未响应写入</translation>
    </message>
    <message>
        <source>the motor did not answer the read</source>
        <translation>电机未响应读取</translation>
    </message>
    <message>
        <source>%1 %2 was changed by a damaged write; writing %3 back.</source>
        <translation>%1 %2 被一次损坏的写入修改；正在写回 %3。</translation>
    </message>
    <message>
        <source>%1 %2 reads %3 instead of %4; writing it again.</source>
        <translation>%1 %2 读回为 %3 而不是 %4；正在重新写入。</translation>
    </message>
    <message>
        <source>%1 %2 could not be read back; writing it again.</source>
        <translation>%1 %2 无法回读；正在重新写入。</translation>
    </message>
    <message>
        <source>%1 %2 reads %3 after %4 writes of %5.</source>
        <translation>%1 %2 在 %4 次写入 %5 后读回为 %3。</translation>
    </message>
    <message>
        <source>%1 %2 could not be read back.</source>
        <translation>%1 %2 无法回读。</translation>
    </message>
    <message>
        <source>The motor did not confirm the save.</source>
        <translation>电机未确认保存。</translation>
    </message>
    <message>
        <source>%1 %2 could not be read after the save.</source>
        <translation>保存后无法读取 %1 %2。</translation>
    </message>
    <message>
        <source>%1 %2 reads %3 after the save instead of %4.</source>
        <translation>保存后 %1 %2 读回为 %3 而不是 %4。</translation>
    </message>
    <message>
        <source>The motor&apos;s description of its table did not read the same twice.</source>
        <translation>电机对其参数表的描述两次读取不一致。</translation>
    </message>
    <message>
        <source>%1 %2 never read the same twice.</source>
        <translation>%1 %2 从未两次读到相同的值。</translation>
    </message>
</context>
<context>
    <name>ParamWalker</name>
    <message>
        <source>Upload parameters table successfully!</source>
        <translation>上传参数表成功！</translation>
    </message>
    <message>
        <source>Download parameters table successfully!</source>
        <translation>下载参数表成功！</translation>
    </message>
</context>
<context>
    <name>ParamsVerb</name>
    <message>
        <source>set: save the value in the motor&apos;s flash.</source>
        <translation>set：把该值保存到电机的闪存中。</translation>
    </message>
    <message>
        <source>restore: only these codes.</source>
        <translation>restore：只处理这些代码。</translation>
    </message>
    <message>
        <source>codes</source>
        <translation>代码</translation>
    </message>
    <message>
        <source>restore: show the writes, write nothing.</source>
        <translation>restore：显示将写入的内容，不实际写入。</translation>
    </message>
    <message>
        <source>restore: also entries whose name or type changed.</source>
        <translation>restore：也包括名称或类型已改变的条目。</translation>
    </message>
    <message>
        <source>params expects one of: %1</source>
        <translation>params 需要以下之一：%1</translation>
    </message>
    <message>
        <source>Wrong number of arguments for params %1.</source>
        <translation>params %1 的参数个数错误。</translation>
    </message>
    <message>
        <source>Not an entry code: %1</source>
        <translation>不是条目代码：%1</translation>
    </message>
    <message>
        <source>The motor has no entry %1.</source>
        <translation>电机没有条目 %1。</translation>
    </message>
    <message>
        <source>%1 %2 is read-only.</source>
        <translation>%1 %2 是只读的。</translation>
    </message>
    <message>
        <source>Please input ASCII charaters</source>
        <translation>请输入 ASCII 字符</translation>
    </message>
    <message>
        <source>Only the first 16 characters are written: %1</source>
        <translation>只写入前 16 个字符：%1</translation>
    </message>
    <message>
        <source>Not a %1 value: %2</source>
        <translation>不是 %1 类型的值：%2</translation>
    </message>
    <message>
        <source>Value out of range: %1 is outside [%2, %3].</source>
        <translation>值超出范围：%1 不在 [%2, %3] 之内。</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>%1 entries saved to %2.</source>
        <translation>已将 %1 个条目保存到 %2。</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>Refused %1 %2: %3</source>
        <translation>拒绝 %1 %2：%3</translation>
    </message>
    <message>
        <source>%1 %2: %3 -&gt; %4</source>
        <translation>%1 %2：%3 -&gt; %4</translation>
    </message>
    <message>
        <source>Nothing to restore.</source>
        <translation>没有需要恢复的内容。</translation>
    </message>
    <message>
        <source>Writing %1 entries...</source>
        <translation>正在写入 %1 个条目...</translation>
    </message>
    <message>
        <source>Read, edit, save, back up, compare and restore a motor&apos;s parameter table.
Writes count once read back; backup and dump --verify read every value twice.
diff exits 0 when no writable entry differs and 1 when some do; with two files it needs no port.</source>
        <translation>读取、编辑、保存、备份、比较和恢复电机的参数表。
写入在回读后才算完成；backup 和 dump --verify 会把每个值读两次。
没有可写条目不同时 diff 以 0 退出，有不同时以 1 退出；比较两个文件时不需要端口。</translation>
    </message>
    <message>
        <source>dump: read every value a second time and compare.</source>
        <translation>dump：把每个值再读一次并比较。</translation>
    </message>
    <message>
        <source>Reading every value a second time...</source>
        <translation>正在把每个值再读一次...</translation>
    </message>
    <message>
        <source>Not confirmed: %1</source>
        <translation>未确认：%1</translation>
    </message>
    <message>
        <source>Nothing was saved in the motor&apos;s flash.</source>
        <translation>没有任何内容保存到电机的闪存中。</translation>
    </message>
    <message>
        <source>Warning: %1 was taken from the motor with MCU ID 0x%2; this is 0x%3.</source>
        <translation>警告：%1 取自 MCU ID 为 0x%2 的电机；当前电机为 0x%3。</translation>
    </message>
    <message>
        <source>Nothing was written: %1 entries of the backup cannot be restored.</source>
        <translation>未写入任何内容：备份中有 %1 个条目无法恢复。</translation>
    </message>
</context>
<context>
    <name>PdfReport</name>
    <message>
        <source>time (s)</source>
        <translation>时间 (s)</translation>
    </message>
    <message>
        <source>Measurement</source>
        <translation>测量项</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>值</translation>
    </message>
    <message>
        <source>Limits</source>
        <translation>限值</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>The recording cannot be drawn: %1</source>
        <translation>无法绘制录制数据：%1</translation>
    </message>
    <message numerus="yes">
        <source>%n sample(s)</source>
        <translation>
            <numerusform>%n 个采样</numerusform>
        </translation>
    </message>
    <message>
        <source>Motor</source>
        <translation>电机</translation>
    </message>
    <message>
        <source>MCU ID</source>
        <translation>MCU ID</translation>
    </message>
    <message>
        <source>CAN ID</source>
        <translation>CAN ID</translation>
    </message>
    <message>
        <source>Model code</source>
        <translation>型号代码</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>固件</translation>
    </message>
    <message>
        <source>not read</source>
        <translation>未读取</translation>
    </message>
    <message>
        <source>Parameter table SHA-256</source>
        <translation>参数表 SHA-256</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Ended</source>
        <translation>结束</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>计划</translation>
    </message>
    <message>
        <source>Plan SHA-256</source>
        <translation>计划 SHA-256</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>工位</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
    <message>
        <source>Tool version</source>
        <translation>工具版本</translation>
    </message>
    <message>
        <source>Run outcome</source>
        <translation>运行结果</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>步骤</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>步骤</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>用时</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>说明</translation>
    </message>
    <message>
        <source>page %1 of %2</source>
        <translation>第 %1 页，共 %2 页</translation>
    </message>
</context>
<context>
    <name>PlaceholderPage</name>
    <message>
        <source>This page is not part of this build yet.</source>
        <translation>此页面尚未包含在本版本中。</translation>
    </message>
</context>
<context>
    <name>PlaceholderTools</name>
    <message>
        <source>The %1 tools are not part of this build yet.</source>
        <translation>“%1”工具尚未包含在本版本中。</translation>
    </message>
</context>
<context>
    <name>PlanReader</name>
    <message>
        <source>cannot read the plan: %1</source>
        <translation>无法读取计划：%1</translation>
    </message>
    <message>
        <source>the plan is larger than %1 bytes; it is not a plan</source>
        <translation>计划大于 %1 字节，不是计划文件</translation>
    </message>
    <message>
        <source>not valid YAML: %1</source>
        <translation>不是有效的 YAML：%1</translation>
    </message>
    <message>
        <source>the plan is empty</source>
        <translation>计划为空</translation>
    </message>
    <message>
        <source>the plan</source>
        <translation>计划</translation>
    </message>
    <message>
        <source>this plan is written for plan format %1; this version of Trivane reads format %2</source>
        <translation>此计划按计划格式 %1 编写；此版本的 Trivane 读取格式 %2</translation>
    </message>
    <message>
        <source>name must not be empty</source>
        <translation>name 不能为空</translation>
    </message>
    <message>
        <source>steps must be a list of at least one step</source>
        <translation>steps 必须是至少包含一个步骤的列表</translation>
    </message>
    <message>
        <source>a plan has at most %1 steps</source>
        <translation>计划最多有 %1 个步骤</translation>
    </message>
    <message>
        <source>detect must be the first step (it finds the motors the run covers)</source>
        <translation>detect 必须是第一步（它找出本次运行涉及的电机）</translation>
    </message>
    <message>
        <source>step %1</source>
        <translation>第 %1 步</translation>
    </message>
    <message>
        <source>unknown step &quot;%1&quot;</source>
        <translation>未知步骤 &quot;%1&quot;</translation>
    </message>
    <message>
        <source> (steps are: %1)</source>
        <translation>（步骤有：%1）</translation>
    </message>
    <message>
        <source> (did you mean &quot;%1&quot;?)</source>
        <translation>（是否指 &quot;%1&quot;？）</translation>
    </message>
    <message>
        <source>step %1 (%2)</source>
        <translation>第 %1 步（%2）</translation>
    </message>
    <message>
        <source>all_motors is allowed only on calibrate, params and capture steps</source>
        <translation>all_motors 只能用于 calibrate、params 和 capture 步骤</translation>
    </message>
    <message>
        <source>the limit &quot;%1&quot;</source>
        <translation>限值 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>give either expect with a tolerance, or min and max, not both</source>
        <translation>请给出 expect 加 tolerance，或 min 和 max，不能同时给出</translation>
    </message>
    <message>
        <source>a tolerance needs &quot;expect&quot;, the value it is around</source>
        <translation>tolerance 需要 &quot;expect&quot;，即其围绕的值</translation>
    </message>
    <message>
        <source>a tolerance in % needs an expected value other than 0</source>
        <translation>百分比形式的 tolerance 需要非 0 的期望值</translation>
    </message>
    <message>
        <source>tolerance must not be negative</source>
        <translation>tolerance 不能为负</translation>
    </message>
    <message>
        <source>min (%1) is above max (%2): no value could pass</source>
        <translation>min（%1）大于 max（%2）：任何值都无法通过</translation>
    </message>
    <message>
        <source>expect needs a tolerance (or give min and max)</source>
        <translation>expect 需要 tolerance（或给出 min 和 max）</translation>
    </message>
    <message>
        <source>a limit needs min, max, or expect with a tolerance</source>
        <translation>限值需要 min、max，或 expect 加 tolerance</translation>
    </message>
    <message>
        <source>a marginal band in % needs both limits (min and max, or a tolerance)</source>
        <translation>百分比形式的 marginal 需要两侧限值（min 和 max，或 tolerance）</translation>
    </message>
    <message>
        <source>marginal must not be negative</source>
        <translation>marginal 不能为负</translation>
    </message>
    <message>
        <source>the marginal band covers the whole range: no value could pass</source>
        <translation>marginal 区间覆盖了整个范围：任何值都无法通过</translation>
    </message>
    <message>
        <source>the check of &quot;%1&quot;</source>
        <translation>&quot;%1&quot; 的检查</translation>
    </message>
    <message>
        <source>not a valid pattern: %1</source>
        <translation>不是有效的模式：%1</translation>
    </message>
    <message>
        <source>at_least needs a version such as 1.2.0, not &quot;%1&quot;</source>
        <translation>at_least 需要 1.2.0 这样的版本号，而不是 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>give one of equals, matches or at_least for &quot;%1&quot;</source>
        <translation>请为 &quot;%1&quot; 给出 equals、matches 或 at_least 之一</translation>
    </message>
    <message>
        <source>a model code</source>
        <translation>型号代码</translation>
    </message>
    <message>
        <source>%1 must name at least one model code</source>
        <translation>%1 至少要列出一个型号代码</translation>
    </message>
    <message>
        <source>a prompt needs a text to show</source>
        <translation>prompt 需要显示的文字</translation>
    </message>
    <message>
        <source>motors must allow at least one motor: a run never passes on an empty bus</source>
        <translation>motors 必须允许至少一台电机：空总线上的运行永远不会通过</translation>
    </message>
    <message>
        <source>a bus holds at most %1 motors</source>
        <translation>一条总线最多有 %1 台电机</translation>
    </message>
    <message>
        <source>entries</source>
        <translation>entries</translation>
    </message>
    <message>
        <source>set-can-id needs either &quot;id&quot; or &quot;next_free&quot; (the first ID to try)</source>
        <translation>set-can-id 需要 &quot;id&quot; 或 &quot;next_free&quot;（第一个尝试的 ID）之一</translation>
    </message>
    <message>
        <source>no readable firmware image at %1</source>
        <translation>%1 处没有可读的固件映像</translation>
    </message>
    <message>
        <source>a firmware image holds 1 to %1 bytes; %2 has %3</source>
        <translation>固件映像应为 1 到 %1 字节；%2 有 %3 字节</translation>
    </message>
    <message>
        <source>cannot use the profile %1: %2</source>
        <translation>无法使用参数配置 %1：%2</translation>
    </message>
    <message>
        <source>save applies to a profile; this step has none</source>
        <translation>save 只适用于参数配置；此步骤没有配置</translation>
    </message>
    <message>
        <source>check</source>
        <translation>check</translation>
    </message>
    <message>
        <source>a params step needs a profile to apply, entries to check, or both</source>
        <translation>params 步骤需要要应用的配置、要检查的条目，或两者兼有</translation>
    </message>
    <message>
        <source>mode must be one of %1</source>
        <translation>mode 必须是 %1 之一</translation>
    </message>
    <message>
        <source>an MIT target lies within %1 .. %2 rad</source>
        <translation>MIT 目标应在 %1 .. %2 rad 之内</translation>
    </message>
    <message>
        <source>speed applies to position moves only</source>
        <translation>speed 只适用于位置运动</translation>
    </message>
    <message>
        <source>speed must be above 0</source>
        <translation>speed 必须大于 0</translation>
    </message>
    <message>
        <source>%1 applies to mit moves only</source>
        <translation>%1 只适用于 mit 运动</translation>
    </message>
    <message>
        <source>%1 must not be negative</source>
        <translation>%1 不能为负</translation>
    </message>
    <message>
        <source>channels must be a list of one to eight channels</source>
        <translation>channels 必须是包含一到八个通道的列表</translation>
    </message>
    <message>
        <source>a channel</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>a channel needs a name or code</source>
        <translation>通道需要名称或代码</translation>
    </message>
    <message>
        <source>channel %1 is listed twice</source>
        <translation>通道 %1 列出了两次</translation>
    </message>
    <message>
        <source>a capture holds at most %1 samples per channel (rate x duration)</source>
        <translation>一次采集每个通道最多 %1 个采样（采样率 x 时长）</translation>
    </message>
    <message>
        <source>checks must be a list</source>
        <translation>checks 必须是列表</translation>
    </message>
    <message>
        <source>capture check %1</source>
        <translation>采集检查 %1</translation>
    </message>
    <message>
        <source>measure must be one of %1</source>
        <translation>measure 必须是 %1 之一</translation>
    </message>
    <message>
        <source>rms_diff needs &quot;channels&quot; with two channels</source>
        <translation>rms_diff 需要含两个通道的 &quot;channels&quot;</translation>
    </message>
    <message>
        <source>%1 is not one of this capture&apos;s channels</source>
        <translation>%1 不是本次采集的通道</translation>
    </message>
</context>
<context>
    <name>PortAccess</name>
    <message>
        <source>Add your user to the dialout group, then log out and in again:
    sudo usermod -aG dialout $USER
or let every user open USB-CAN adapters with a udev rule:
    echo &apos;SUBSYSTEM==&quot;tty&quot;, ATTRS{idVendor}==&quot;1a86&quot;, ATTRS{idProduct}==&quot;7523&quot;, MODE=&quot;0666&quot;&apos; | sudo tee /etc/udev/rules.d/99-usb-can.rules
    sudo udevadm control --reload-rules &amp;&amp; sudo udevadm trigger</source>
        <translation>请将当前用户加入 dialout 组，然后注销并重新登录：
    sudo usermod -aG dialout $USER
或者用 udev 规则允许所有用户打开 USB-CAN 适配器：
    echo &apos;SUBSYSTEM==&quot;tty&quot;, ATTRS{idVendor}==&quot;1a86&quot;, ATTRS{idProduct}==&quot;7523&quot;, MODE=&quot;0666&quot;&apos; | sudo tee /etc/udev/rules.d/99-usb-can.rules
    sudo udevadm control --reload-rules &amp;&amp; sudo udevadm trigger</translation>
    </message>
    <message>
        <source>Permission denied opening %1: your user may not open serial ports (they belong to the dialout group), or another program is using the port.</source>
        <translation>打开 %1 时权限被拒绝：当前用户可能无权打开串口（串口属于 dialout 组），或者该端口正被其他程序占用。</translation>
    </message>
    <message>
        <source>%1 is in use by process %2.</source>
        <translation>%1 正被进程 %2 使用。</translation>
    </message>
</context>
<context>
    <name>ProgressLine</name>
    <message>
        <source>Erasing flash...</source>
        <translation>正在擦除闪存...</translation>
    </message>
    <message>
        <source>%1% %2 packets/s %3 left</source>
        <translation>%1% %2 包/秒 剩余 %3</translation>
    </message>
</context>
<context>
    <name>ProjectFiles</name>
    <message>
        <source>Save to %1 Failed!</source>
        <translation>保存到 %1 失败！</translation>
    </message>
    <message>
        <source>Save to %1 successfully!</source>
        <translation>成功保存到 %1！</translation>
    </message>
    <message>
        <source>New Project</source>
        <translation>新建工程</translation>
    </message>
    <message>
        <source>Open Project</source>
        <translation>打开工程</translation>
    </message>
    <message>
        <source>Save Project</source>
        <translation>保存工程</translation>
    </message>
    <message>
        <source>Save as Project</source>
        <translation>工程另存为</translation>
    </message>
    <message>
        <source>Import Project</source>
        <translation>导入工程</translation>
    </message>
    <message>
        <source>Import from %1 successfully!</source>
        <translation>成功从 %1 导入！</translation>
    </message>
    <message>
        <source>Import from %1 Failed!</source>
        <translation>从 %1 导入失败！</translation>
    </message>
    <message>
        <source>Export Project</source>
        <translation>导出工程</translation>
    </message>
    <message>
        <source>Export to %1 successfully!</source>
        <translation>成功导出到 %1！</translation>
    </message>
    <message>
        <source>Export to %1 Failed!</source>
        <translation>导出到 %1 失败！</translation>
    </message>
    <message>
        <source>Open %1 Failed! The file is unreadable or not a project; nothing was changed.</source>
        <translation>打开 %1 失败！文件无法读取或不是工程文件；未做任何更改。</translation>
    </message>
</context>
<context>
    <name>ReconnectFlow</name>
    <message>
        <source>There is no link.</source>
        <translation>没有链路。</translation>
    </message>
    <message numerus="yes">
        <source>Waiting up to %n second(s) for the adapter to come back.</source>
        <translation>
            <numerusform>最多等待 %n 秒让适配器恢复。</numerusform>
        </translation>
    </message>
    <message>
        <source>The adapter did not come back.</source>
        <translation>适配器未恢复。</translation>
    </message>
    <message>
        <source>waiting for the adapter</source>
        <translation>正在等待适配器</translation>
    </message>
</context>
<context>
    <name>ReconnectWatcher</name>
    <message>
        <source>Serial port %1 is back: reconnecting.</source>
        <translation>串口 %1 已恢复：正在重新连接。</translation>
    </message>
    <message>
        <source>CAN interface %1 is back: reconnecting.</source>
        <translation>CAN 接口 %1 已恢复：正在重新连接。</translation>
    </message>
</context>
<context>
    <name>RecordsLocation</name>
    <message>
        <source>No database file named in &quot;%1&quot;.</source>
        <translation>“%1”中未指定数据库文件。</translation>
    </message>
    <message>
        <source>The server address in &quot;%1&quot; is not valid.</source>
        <translation>“%1”中的服务器地址无效。</translation>
    </message>
    <message>
        <source>The port in &quot;%1&quot; is not valid.</source>
        <translation>“%1”中的端口无效。</translation>
    </message>
    <message>
        <source>The setting &quot;%1&quot; in &quot;%2&quot; is not valid.</source>
        <translation>“%2”中的设置“%1”无效。</translation>
    </message>
    <message>
        <source>No database named in &quot;%1&quot; (postgresql://user@host/database).</source>
        <translation>“%1”中未指定数据库（postgresql://user@host/database）。</translation>
    </message>
</context>
<context>
    <name>RecordsLookup</name>
    <message>
        <source>No records at %1 yet.</source>
        <translation>%1 中尚无记录。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; starts more than one run (%2, ...): give more of the UUID.</source>
        <translation>以“%1”开头的运行不止一次（%2, ...）：请给出更长的 UUID。</translation>
    </message>
    <message>
        <source>No run %1.</source>
        <translation>没有运行 %1。</translation>
    </message>
</context>
<context>
    <name>RecordsPage</name>
    <message>
        <source>Open Report</source>
        <translation>打开报告</translation>
    </message>
    <message>
        <source>Motor Timeline</source>
        <translation>电机时间线</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>Search by MCU ID, or pick a motor of a run, to see its timeline.</source>
        <translation>按 MCU ID 搜索，或选择某次运行中的电机，即可查看其时间线。</translation>
    </message>
    <message>
        <source>Compare Parameters</source>
        <translation>比较参数</translation>
    </message>
    <message>
        <source>Timeline</source>
        <translation>时间线</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Select one of the run&apos;s motors first.</source>
        <translation>请先选择本次运行中的一台电机。</translation>
    </message>
    <message>
        <source>any</source>
        <translation>任意</translation>
    </message>
    <message>
        <source>From</source>
        <translation>从</translation>
    </message>
    <message>
        <source>To</source>
        <translation>到</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>MCU ID</source>
        <translation>MCU ID</translation>
    </message>
    <message>
        <source>CAN ID</source>
        <translation>CAN ID</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>计划</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>工位</translation>
    </message>
    <message>
        <source>Not an MCU ID: %1</source>
        <translation>不是 MCU ID：%1</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>正在搜索...</translation>
    </message>
    <message>
        <source>The newest %1 runs; narrow the search to see older ones.</source>
        <translation>最新的 %1 次运行；缩小搜索范围可查看更早的运行。</translation>
    </message>
    <message>
        <source>Runs found: %1</source>
        <translation>找到的运行：%1</translation>
    </message>
    <message>
        <source>The records server cannot be reached, so only this station&apos;s runs are shown: %1</source>
        <translation>无法连接记录服务器，仅显示本工位的运行：%1</translation>
    </message>
    <message>
        <source>Motor 0x%1: reading its runs...</source>
        <translation>电机 0x%1：正在读取其运行...</translation>
    </message>
    <message>
        <source>Motor 0x%1 has no recorded run.</source>
        <translation>电机 0x%1 没有运行记录。</translation>
    </message>
    <message>
        <source>Motor 0x%1: %2 runs, newest first. Changes since the run before are highlighted; select two runs to compare their parameters.</source>
        <translation>电机 0x%1：%2 次运行，最新的在前。与前一次运行相比的变化已突出显示；选择两次运行可比较其参数。</translation>
    </message>
    <message>
        <source>Select exactly two runs of the motor.</source>
        <translation>请恰好选择该电机的两次运行。</translation>
    </message>
    <message>
        <source>Reading both parameter tables...</source>
        <translation>正在读取两个参数表...</translation>
    </message>
    <message>
        <source>Run of %1: %2</source>
        <translation>%1 的运行：%2</translation>
    </message>
    <message>
        <source>Select the motor whose report to open.</source>
        <translation>请选择要打开其报告的电机。</translation>
    </message>
    <message>
        <source>The report is in %1; no program here opens it.</source>
        <translation>报告位于 %1；本机没有可打开它的程序。</translation>
    </message>
</context>
<context>
    <name>RecordsSchema</name>
    <message>
        <source>The records database has schema version %1; this program knows up to version %2. It was left as it is: use a newer Trivane.</source>
        <translation>记录数据库的结构版本为 %1；本程序最高支持版本 %2。数据库保持原样：请使用更新的 Trivane。</translation>
    </message>
    <message>
        <source>Could not bring the records database to version %1: %2</source>
        <translation>无法将记录数据库升级到版本 %1：%2</translation>
    </message>
    <message>
        <source>it has a newer schema version (%1)</source>
        <translation>它的结构版本较新（%1）</translation>
    </message>
</context>
<context>
    <name>RecordsScreens</name>
    <message>
        <source>Runs cannot be sent to the records server: %1</source>
        <translation>无法将运行发送到记录服务器：%1</translation>
    </message>
    <message>
        <source>The records server can be reached again.</source>
        <translation>记录服务器已恢复连接。</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>记录</translation>
    </message>
</context>
<context>
    <name>RecordsSettings</name>
    <message>
        <source>config.records.url: %1</source>
        <translation>config.records.url：%1</translation>
    </message>
</context>
<context>
    <name>RecordsStore</name>
    <message>
        <source>%1 (%2): %3</source>
        <translation>%1（%2）：%3</translation>
    </message>
    <message>
        <source>The records database %1 is not open.</source>
        <translation>记录数据库 %1 未打开。</translation>
    </message>
    <message>
        <source>No records database is configured.</source>
        <translation>未配置记录数据库。</translation>
    </message>
    <message>
        <source>The Qt SQL driver %1 is not installed.</source>
        <translation>未安装 Qt SQL 驱动 %1。</translation>
    </message>
    <message>
        <source>Cannot open the records database</source>
        <translation>无法打开记录数据库</translation>
    </message>
    <message>
        <source>Cannot count the runs waiting to be sent</source>
        <translation>无法统计等待发送的运行</translation>
    </message>
    <message>
        <source>Cannot read the runs waiting to be sent</source>
        <translation>无法读取等待发送的运行</translation>
    </message>
    <message>
        <source>Cannot mark runs as sent</source>
        <translation>无法将运行标记为已发送</translation>
    </message>
    <message>
        <source>Cannot mark run %1 as sent</source>
        <translation>无法将运行 %1 标记为已发送</translation>
    </message>
    <message>
        <source>Cannot note the failure of run %1</source>
        <translation>无法记录运行 %1 的发送失败</translation>
    </message>
    <message>
        <source>Run %1 cannot be read</source>
        <translation>无法读取运行 %1</translation>
    </message>
    <message>
        <source>No run %1 in %2.</source>
        <translation>%2 中没有运行 %1。</translation>
    </message>
    <message>
        <source>unknown outcome</source>
        <translation>未知结果</translation>
    </message>
    <message>
        <source>a motor row is damaged</source>
        <translation>一条电机记录已损坏</translation>
    </message>
    <message>
        <source>a step row is damaged</source>
        <translation>一条步骤记录已损坏</translation>
    </message>
    <message>
        <source>a measurement row is damaged</source>
        <translation>一条测量记录已损坏</translation>
    </message>
    <message>
        <source>an attachment row is damaged</source>
        <translation>一条附件记录已损坏</translation>
    </message>
    <message>
        <source>attachment %1 is damaged</source>
        <translation>附件 %1 已损坏</translation>
    </message>
    <message>
        <source>Cannot look the run up</source>
        <translation>无法查找该运行</translation>
    </message>
    <message>
        <source>Cannot search the records</source>
        <translation>无法搜索记录</translation>
    </message>
    <message>
        <source>Cannot read the motor&apos;s runs</source>
        <translation>无法读取该电机的运行</translation>
    </message>
    <message>
        <source>Cannot read the plans</source>
        <translation>无法读取计划</translation>
    </message>
    <message>
        <source>Cannot read the stations</source>
        <translation>无法读取工位</translation>
    </message>
    <message>
        <source>The run has no valid UUID (&quot;%1&quot;); it was not stored.</source>
        <translation>该运行没有有效的 UUID（“%1”）；未保存。</translation>
    </message>
    <message>
        <source>The attachment %1 is larger than %2 MiB; the run was not stored.</source>
        <translation>附件 %1 大于 %2 MiB；该运行未保存。</translation>
    </message>
    <message>
        <source>Cannot store runs</source>
        <translation>无法保存运行</translation>
    </message>
    <message>
        <source>Cannot store run %1</source>
        <translation>无法保存运行 %1</translation>
    </message>
</context>
<context>
    <name>RecordsVerb</name>
    <message>
        <source>The commissioning history: runs of the station&apos;s records.db and, with a server configured
(config.records.url or --records postgresql://user@host/database), of the whole line.
list shows the newest runs first; with --mcu-id or --can-id, --outcome is that motor&apos;s outcome.
show prints one run (a unique start of its UUID is enough); export writes its JUnit XML, or the
HTML or PDF report of one motor (--mcu-id when the run has several); sync sends the waiting runs
now and exits 0 only when none is left waiting.</source>
        <translation>调试历史：本工位 records.db 中的运行；配置了服务器时（config.records.url 或
--records postgresql://user@host/database）为整条产线的运行。
list 按最新在前列出运行；指定 --mcu-id 或 --can-id 时，--outcome 指该电机的结果。
show 打印一次运行（给出 UUID 的唯一开头即可）；export 写出其 JUnit XML，或一台电机的
HTML 或 PDF 报告（运行含多台电机时用 --mcu-id 指定）；sync 立即发送等待中的运行，
仅当没有运行再等待时退出码为 0。</translation>
    </message>
    <message>
        <source>The records server (postgresql://user@host/database) or the station&apos;s file.</source>
        <translation>记录服务器（postgresql://user@host/database）或本工位的文件。</translation>
    </message>
    <message>
        <source>url|file</source>
        <translation>url|文件</translation>
    </message>
    <message>
        <source>Machine-readable output.</source>
        <translation>机器可读的输出。</translation>
    </message>
    <message>
        <source>list: runs of this motor (hexadecimal).</source>
        <translation>list：该电机的运行（十六进制）。</translation>
    </message>
    <message>
        <source>hex</source>
        <translation>十六进制</translation>
    </message>
    <message>
        <source>list: runs with a motor at this CAN ID.</source>
        <translation>list：含有该 CAN ID 电机的运行。</translation>
    </message>
    <message>
        <source>id</source>
        <translation>id</translation>
    </message>
    <message>
        <source>list: plans whose name contains this.</source>
        <translation>list：名称包含此文本的计划。</translation>
    </message>
    <message>
        <source>text</source>
        <translation>文本</translation>
    </message>
    <message>
        <source>list: runs of this station.</source>
        <translation>list：该工位的运行。</translation>
    </message>
    <message>
        <source>name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>list: pass, marginal, skipped, fail or error.</source>
        <translation>list：pass、marginal、skipped、fail 或 error。</translation>
    </message>
    <message>
        <source>outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>list: runs started at or after this.</source>
        <translation>list：在此时间或之后开始的运行。</translation>
    </message>
    <message>
        <source>date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>list: runs started before this.</source>
        <translation>list：在此时间之前开始的运行。</translation>
    </message>
    <message>
        <source>list: at most this many runs (0: all).</source>
        <translation>list：最多列出这么多次运行（0：全部）。</translation>
    </message>
    <message>
        <source>n</source>
        <translation>n</translation>
    </message>
    <message>
        <source>list, show, export: this station&apos;s file only.</source>
        <translation>list、show、export：仅本工位的文件。</translation>
    </message>
    <message>
        <source>export: one motor&apos;s HTML report.</source>
        <translation>export：一台电机的 HTML 报告。</translation>
    </message>
    <message>
        <source>export: one motor&apos;s PDF report.</source>
        <translation>export：一台电机的 PDF 报告。</translation>
    </message>
    <message>
        <source>export: the run as JUnit XML.</source>
        <translation>export：以 JUnit XML 形式输出该运行。</translation>
    </message>
    <message>
        <source>export: write to this file, not to stdout.</source>
        <translation>export：写入此文件，而不是标准输出。</translation>
    </message>
    <message>
        <source>file</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>records expects one of: %1</source>
        <translation>records 需要以下之一：%1</translation>
    </message>
    <message>
        <source>Wrong number of arguments for records %1.</source>
        <translation>records %1 的参数个数不对。</translation>
    </message>
    <message>
        <source>Not an MCU ID: %1</source>
        <translation>不是 MCU ID：%1</translation>
    </message>
    <message>
        <source>Not a CAN ID: %1</source>
        <translation>不是 CAN ID：%1</translation>
    </message>
    <message>
        <source>Not an outcome: %1 (pass, marginal, skipped, fail, error)</source>
        <translation>不是结果：%1（pass、marginal、skipped、fail、error）</translation>
    </message>
    <message>
        <source>Not a date: %1 (2024-05-01 or 2024-05-01T08:30)</source>
        <translation>不是日期：%1（2024-05-01 或 2024-05-01T08:30）</translation>
    </message>
    <message>
        <source>Not a number of runs: %1</source>
        <translation>不是运行次数：%1</translation>
    </message>
    <message>
        <source>%1
Showing this station&apos;s runs only.</source>
        <translation>%1
仅显示本工位的运行。</translation>
    </message>
    <message>
        <source>* kept by this station, waiting to be sent to the server</source>
        <translation>* 由本工位保存，等待发送到服务器</translation>
    </message>
    <message>
        <source>No run matches.</source>
        <translation>没有匹配的运行。</translation>
    </message>
    <message>
        <source>More runs match: --limit raises the number shown (0 shows all).</source>
        <translation>还有更多匹配的运行：--limit 可增加显示数量（0 显示全部）。</translation>
    </message>
    <message>
        <source>Run %1  %2</source>
        <translation>运行 %1  %2</translation>
    </message>
    <message>
        <source>Plan: %1 (%2)</source>
        <translation>计划：%1（%2）</translation>
    </message>
    <message>
        <source>Station: %1  Operator: %2  Trivane %3</source>
        <translation>工位：%1  操作员：%2  Trivane %3</translation>
    </message>
    <message>
        <source>Started: %1  Ended: %2</source>
        <translation>开始：%1  结束：%2</translation>
    </message>
    <message>
        <source>Ended early: %1</source>
        <translation>提前结束：%1</translation>
    </message>
    <message>
        <source>Motor %1  CAN ID %2  model %3  firmware %4  parameters %5  %6</source>
        <translation>电机 %1  CAN ID %2  型号 %3  固件 %4  参数 %5  %6</translation>
    </message>
    <message>
        <source> (expected %1)</source>
        <translation>（期望 %1）</translation>
    </message>
    <message>
        <source>       attachment %1 (%2, %3 bytes)</source>
        <translation>       附件 %1（%2，%3 字节）</translation>
    </message>
    <message>
        <source>records export needs one of --html, --pdf and --junit.</source>
        <translation>records export 需要 --html、--pdf 和 --junit 之一。</translation>
    </message>
    <message>
        <source>A PDF is not for the terminal: give --out &lt;file&gt;.</source>
        <translation>PDF 不能输出到终端：请给出 --out &lt;文件&gt;。</translation>
    </message>
    <message>
        <source>Run %1 has no motor to report on; --junit reports the run.</source>
        <translation>运行 %1 没有可报告的电机；--junit 可报告该运行。</translation>
    </message>
    <message>
        <source>Name one of the run&apos;s motors with --mcu-id: %1.</source>
        <translation>请用 --mcu-id 指定该运行中的一台电机：%1。</translation>
    </message>
    <message>
        <source>The report of run %1 could not be made.</source>
        <translation>无法生成运行 %1 的报告。</translation>
    </message>
    <message>
        <source>Could not write the report to stdout.</source>
        <translation>无法将报告写到标准输出。</translation>
    </message>
    <message>
        <source>Written: %1</source>
        <translation>已写入：%1</translation>
    </message>
    <message>
        <source>No records server is configured: set config.records.url or give --records postgresql://user@host/database.</source>
        <translation>未配置记录服务器：请设置 config.records.url 或给出 --records postgresql://user@host/database。</translation>
    </message>
    <message>
        <source>No records at %1 yet: nothing to send.</source>
        <translation>%1 中尚无记录：无需发送。</translation>
    </message>
    <message>
        <source>Sending runs: %1/%2</source>
        <translation>正在发送运行：%1/%2</translation>
    </message>
    <message>
        <source>Sent %1 runs to %2; %3 waiting to be sent.</source>
        <translation>已向 %2 发送 %1 次运行；%3 次等待发送。</translation>
    </message>
    <message>
        <source>%1 runs were on the server already.</source>
        <translation>%1 次运行已在服务器上。</translation>
    </message>
    <message>
        <source>%1 runs could not be sent; they wait for the next try.</source>
        <translation>%1 次运行未能发送；等待下次重试。</translation>
    </message>
</context>
<context>
    <name>ReportFolder</name>
    <message>
        <source>cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>cannot create the report folder %1</source>
        <translation>无法创建报告文件夹 %1</translation>
    </message>
    <message>
        <source>cannot put the report folder in place at %1</source>
        <translation>无法把报告文件夹放到 %1</translation>
    </message>
</context>
<context>
    <name>ReportText</name>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source> (marginal within %1 of a limit)</source>
        <translation>（距限值 %1 以内为临界）</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>Motor %1 (CAN ID %2)</source>
        <translation>电机 %1（CAN ID %2）</translation>
    </message>
</context>
<context>
    <name>RestoreDialog</name>
    <message>
        <source>Restore parameters</source>
        <translation>还原参数</translation>
    </message>
    <message>
        <source>The motor already holds the values of %1.</source>
        <translation>电机中的值已与 %1 一致。</translation>
    </message>
    <message>
        <source>Entries of %1 that differ from the motor. Ticked ones are written, then saved in the motor.</source>
        <translation>%1 中与电机不同的条目。勾选的条目将被写入并保存到电机中。</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>代码</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Motor</source>
        <translation>电机</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>备份</translation>
    </message>
    <message>
        <source>%1 %2: %3</source>
        <translation>%1 %2：%3</translation>
    </message>
    <message>
        <source>Not restored:</source>
        <translation>未还原：</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>还原</translation>
    </message>
</context>
<context>
    <name>RightTitle</name>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Show pannel</source>
        <translation>显示面板</translation>
    </message>
    <message>
        <source>Show left sidebar</source>
        <translation>显示左侧边栏</translation>
    </message>
    <message>
        <source>Show right sidebar</source>
        <translation>显示右侧边栏</translation>
    </message>
    <message>
        <source>Auto connect COM</source>
        <translation>自动连接串口</translation>
    </message>
    <message>
        <source>Enable multiple devices</source>
        <translation>启用多设备</translation>
    </message>
    <message>
        <source>Upload param table on connected</source>
        <translation>连接后上传参数表</translation>
    </message>
    <message>
        <source>Remove all device on disconnected</source>
        <translation>断开时移除所有设备</translation>
    </message>
    <message>
        <source>Activate selected device</source>
        <translation>激活选中的设备</translation>
    </message>
    <message>
        <source>Auto increase desired CAN ID</source>
        <translation>自动递增目标 CAN ID</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言 (Language)</translation>
    </message>
    <message>
        <source>Applies at the next start</source>
        <translation>下次启动时生效</translation>
    </message>
    <message>
        <source>The interface will be in %1 from the next start of %2.</source>
        <translation>下次启动 %2 时，界面将使用 %1。</translation>
    </message>
</context>
<context>
    <name>RunDetailView</name>
    <message>
        <source>Item</source>
        <translation>项目</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>值</translation>
    </message>
    <message>
        <source>Limits</source>
        <translation>限值</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Run %1</source>
        <translation>运行 %1</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>计划</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>工位</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Ended</source>
        <translation>结束</translation>
    </message>
    <message>
        <source>Trivane</source>
        <translation>Trivane</translation>
    </message>
    <message>
        <source>Ended early</source>
        <translation>提前结束</translation>
    </message>
    <message>
        <source>Motor 0x%1</source>
        <translation>电机 0x%1</translation>
    </message>
    <message>
        <source>CAN ID %1, firmware %2</source>
        <translation>CAN ID %1，固件 %2</translation>
    </message>
    <message>
        <source>not read</source>
        <translation>未读取</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 字节</translation>
    </message>
</context>
<context>
    <name>RunParams</name>
    <message>
        <source>The run has no such motor.</source>
        <translation>该运行中没有这台电机。</translation>
    </message>
    <message>
        <source>The parameter table of motor 0x%1 in this run cannot be read.</source>
        <translation>无法读取本次运行中电机 0x%1 的参数表。</translation>
    </message>
    <message>
        <source>This run did not read the parameter table of motor 0x%1.</source>
        <translation>本次运行未读取电机 0x%1 的参数表。</translation>
    </message>
</context>
<context>
    <name>RunTableModel</name>
    <message>
        <source> and %1 more</source>
        <translation> 等另外 %1 台</translation>
    </message>
    <message>
        <source>%1
Kept by this station, waiting to be sent</source>
        <translation>%1
由本工位保存，等待发送</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>计划</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>工位</translation>
    </message>
    <message>
        <source>Motors</source>
        <translation>电机</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>运行</translation>
    </message>
</context>
<context>
    <name>SafeStateFlow</name>
    <message>
        <source>The adapter is not connected.</source>
        <translation>适配器未连接。</translation>
    </message>
    <message>
        <source>Motor %1 did not confirm reset mode.</source>
        <translation>电机 %1 未确认复位模式。</translation>
    </message>
    <message>
        <source>resetting</source>
        <translation>正在复位</translation>
    </message>
</context>
<context>
    <name>ScopeAcquisition</name>
    <message>
        <source>%1 Hz with these channels needs %2 frames/s, more than the serial line carries at %3 baud (%4 frames/s). Highest rate that fits: %5 Hz.</source>
        <translation>%1 Hz 下这些通道需要 %2 帧/秒，超出串口在 %3 波特率下的承载能力（%4 帧/秒）。可用的最高采样率：%5 Hz。</translation>
    </message>
    <message>
        <source>No channel selected: choose at least one channel.</source>
        <translation>未选择通道：请至少选择一个通道。</translation>
    </message>
    <message>
        <source>Sample rate %1 Hz is out of range (1 to 65535).</source>
        <translation>采样率 %1 Hz 超出范围（1 到 65535）。</translation>
    </message>
    <message>
        <source>The scope channels are not configured.</source>
        <translation>示波器通道尚未配置。</translation>
    </message>
    <message>
        <source>The motor refused the scope configuration (error bits 0x%1).</source>
        <translation>电机拒绝了示波器配置（错误位 0x%1）。</translation>
    </message>
</context>
<context>
    <name>ScopeControl</name>
    <message>
        <source>The oscilloscope needs a connected motor.</source>
        <translation>示波器需要一台已连接的电机。</translation>
    </message>
    <message>
        <source>No activated device!</source>
        <translation>没有激活的设备！</translation>
    </message>
    <message>
        <source>Cannot open the waveform file %1: %2</source>
        <translation>无法打开波形文件 %1：%2</translation>
    </message>
</context>
<context>
    <name>ScopeFlow</name>
    <message>
        <source>This build has no scope.</source>
        <translation>此版本没有示波器。</translation>
    </message>
    <message>
        <source>There is no motor with CAN ID %1.</source>
        <translation>没有 CAN ID 为 %1 的电机。</translation>
    </message>
    <message>
        <source>Reading the parameter names of motor %1...</source>
        <translation>正在读取电机 %1 的参数名称...</translation>
    </message>
    <message>
        <source>Unknown channel %1: without the motor&apos;s parameter table channels are given by code (e.g. 0x3000).</source>
        <translation>未知通道 %1：没有电机参数表时，请用代码指定通道（例如 0x3000）。</translation>
    </message>
    <message>
        <source>Unknown channel %1.</source>
        <translation>未知通道 %1。</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>The link closed during the set-up.</source>
        <translation>设置过程中链路已关闭。</translation>
    </message>
    <message>
        <source>The motor did not answer the scope configuration.</source>
        <translation>电机未响应示波器配置。</translation>
    </message>
    <message>
        <source>The motor refused the scope set-up.</source>
        <translation>电机拒绝了示波器设置。</translation>
    </message>
    <message>
        <source>Recording %1 channel(s) of motor %2 at %3 Hz for %4 s</source>
        <translation>正在以 %3 Hz 记录电机 %2 的 %1 个通道，共 %4 秒</translation>
    </message>
    <message>
        <source>%1 s: %2 records, %3 lost</source>
        <translation>%1 秒：%2 条记录，丢失 %3 条</translation>
    </message>
    <message>
        <source>The link closed during the recording.</source>
        <translation>记录过程中链路已关闭。</translation>
    </message>
    <message>
        <source>No record arrived from motor %1.</source>
        <translation>未收到电机 %1 的任何记录。</translation>
    </message>
    <message>
        <source>No motor to record.</source>
        <translation>没有要记录的电机。</translation>
    </message>
    <message>
        <source>A recording takes one to eight channels.</source>
        <translation>记录需要一到八个通道。</translation>
    </message>
    <message>
        <source>recording its oscilloscope</source>
        <translation>正在记录示波器</translation>
    </message>
</context>
<context>
    <name>ScopeScreens</name>
    <message>
        <source>Please open param table of %1 first!</source>
        <translation>请先打开 %1 的参数表！</translation>
    </message>
    <message>
        <source>Analyze</source>
        <translation>分析</translation>
    </message>
    <message>
        <source>Oscilloscope</source>
        <translation>示波器</translation>
    </message>
</context>
<context>
    <name>ScopeUnits</name>
    <message>
        <source>Value</source>
        <translation>数值</translation>
    </message>
</context>
<context>
    <name>ScopeVerb</name>
    <message>
        <source>Record up to eight scope channels of the target into a waveform file (or CSV with a header of channel names) and report records received and lost.</source>
        <translation>把目标的最多八个示波器通道录制到波形文件（或带通道名表头的 CSV），并报告收到和丢失的记录数。</translation>
    </message>
    <message>
        <source>Channels by parameter name or code (0x3000), comma-separated.</source>
        <translation>按参数名或代码（0x3000）指定的通道，以逗号分隔。</translation>
    </message>
    <message>
        <source>list</source>
        <translation>列表</translation>
    </message>
    <message>
        <source>Sample rate in Hz.</source>
        <translation>采样率（Hz）。</translation>
    </message>
    <message>
        <source>hz</source>
        <translation>hz</translation>
    </message>
    <message>
        <source>Recording time.</source>
        <translation>录制时长。</translation>
    </message>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Output file.</source>
        <translation>输出文件。</translation>
    </message>
    <message>
        <source>file</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Write CSV instead of the waveform format.</source>
        <translation>写出 CSV 而不是波形格式。</translation>
    </message>
    <message>
        <source>What to do (record).</source>
        <translation>要做的操作（record）。</translation>
    </message>
    <message>
        <source>scope expects: record</source>
        <translation>scope 需要：record</translation>
    </message>
    <message>
        <source>--channels expects one to eight channels.</source>
        <translation>--channels 需要一到八个通道。</translation>
    </message>
    <message>
        <source>--rate expects a whole number of Hz from 1 to 65535.</source>
        <translation>--rate 需要 1 到 65535 之间的整数 Hz。</translation>
    </message>
    <message>
        <source>--seconds expects a time above 0 and at most a day.</source>
        <translation>--seconds 需要大于 0 且不超过一天的时间。</translation>
    </message>
    <message>
        <source>--out is required.</source>
        <translation>需要 --out。</translation>
    </message>
    <message>
        <source>This build has no scope.</source>
        <translation>此版本没有示波器。</translation>
    </message>
    <message>
        <source>Records received: %1, lost: %2</source>
        <translation>收到记录：%1，丢失：%2</translation>
    </message>
    <message>
        <source>The motor did not confirm the stop.</source>
        <translation>电机未确认停止。</translation>
    </message>
    <message>
        <source>Records with a damaged time stamp: %1</source>
        <translation>时间戳损坏的记录：%1</translation>
    </message>
    <message>
        <source>%1 was left as it was; the %2 records received are in %3.</source>
        <translation>%1 保持原样；收到的 %2 条记录保存在 %3 中。</translation>
    </message>
    <message>
        <source> into %1</source>
        <translation> 写入 %1</translation>
    </message>
</context>
<context>
    <name>SetCanIdFlow</name>
    <message>
        <source>The motor did not announce itself under CAN ID %1.</source>
        <translation>电机未以 CAN ID %1 上报自身。</translation>
    </message>
    <message>
        <source>changing its CAN ID</source>
        <translation>正在更改 CAN ID</translation>
    </message>
</context>
<context>
    <name>ShellRegistry</name>
    <message>
        <source>Motion control is not part of this build yet.</source>
        <translation>运动控制尚未包含在本版本中。</translation>
    </message>
</context>
<context>
    <name>Sidebar</name>
    <message>
        <source>Brake every connected motor (%1)</source>
        <translation>制动所有已连接的电机（%1）</translation>
    </message>
    <message>
        <source>No device</source>
        <translation>无设备</translation>
    </message>
    <message>
        <source>Activate device: %1</source>
        <translation>激活设备：%1</translation>
    </message>
    <message>
        <source>Motion control is off while multiple devices are enabled.</source>
        <translation>启用多设备时运动控制不可用。</translation>
    </message>
    <message>
        <source>Waiting for the motor&apos;s model reply: its set-point ranges are not known yet.</source>
        <translation>正在等待电机型号应答：尚未获知其设定值范围。</translation>
    </message>
    <message>
        <source>No activated device: connect a motor or choose one in the device list.</source>
        <translation>没有激活的设备：请连接电机或在设备列表中选择一个。</translation>
    </message>
    <message>
        <source>%1 is disconnected.</source>
        <translation>%1 已断开。</translation>
    </message>
    <message>
        <source>Motion control is off while multiple devices are enabled: the switch only resets the motor and JOG is unavailable.</source>
        <translation>启用多设备时运动控制关闭：开关只会使电机复位，JOG 不可用。</translation>
    </message>
    <message>
        <source>The motor is running in jog mode; switch off to reset it.</source>
        <translation>电机正以点动模式运行；关闭开关可使其复位。</translation>
    </message>
    <message>
        <source>The motor reports that it is running, though this panel did not switch it on; switch off to reset it.</source>
        <translation>电机报告正在运行，但并非由本面板开启；关闭开关可使其复位。</translation>
    </message>
    <message>
        <source>The motor reports %1 mode, not the %2 this panel switched on.</source>
        <translation>电机报告处于%1模式，而不是本面板开启的%2。</translation>
    </message>
    <message>
        <source>The motor has not confirmed its mode.</source>
        <translation>电机尚未确认其模式。</translation>
    </message>
    <message>
        <source>Activated Device</source>
        <translation>激活的设备</translation>
    </message>
    <message>
        <source>EStop</source>
        <translation>急停</translation>
    </message>
    <message>
        <source>Quick Move</source>
        <translation>快速运动</translation>
    </message>
    <message>
        <source>Max Speed</source>
        <translation>最大速度</translation>
    </message>
    <message>
        <source>rad/s</source>
        <translation>rad/s</translation>
    </message>
    <message>
        <source>JOG Move</source>
        <translation>点动</translation>
    </message>
    <message>
        <source>Motion Control</source>
        <translation>运动控制</translation>
    </message>
    <message>
        <source>Control Mode</source>
        <translation>控制模式</translation>
    </message>
    <message>
        <source>MIT Control</source>
        <translation>MIT 控制</translation>
    </message>
    <message>
        <source>位置模式(PP)</source>
        <translation>位置模式(PP)</translation>
    </message>
    <message>
        <source>Velocity Mode</source>
        <translation>速度模式</translation>
    </message>
    <message>
        <source>Current Mode</source>
        <translation>电流模式</translation>
    </message>
    <message>
        <source>位置模式(CSP)</source>
        <translation>位置模式(CSP)</translation>
    </message>
    <message>
        <source>Sin signal automated test</source>
        <translation>正弦信号自动测试</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>幅值</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>频率</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Torque (nm)</source>
        <translation>力矩 (nm)</translation>
    </message>
    <message>
        <source>Position (rad)</source>
        <translation>位置 (rad)</translation>
    </message>
    <message>
        <source>Velocity (rad/s)</source>
        <translation>速度 (rad/s)</translation>
    </message>
    <message>
        <source>Kp</source>
        <translation>Kp</translation>
    </message>
    <message>
        <source>Kd</source>
        <translation>Kd</translation>
    </message>
    <message>
        <source>Velocity Setting (rad/s)</source>
        <translation>速度设置 (rad/s)</translation>
    </message>
    <message>
        <source>加速度设置(rad/s^2)</source>
        <translation>加速度设置(rad/s^2)</translation>
    </message>
    <message>
        <source>Postion Command (rad)</source>
        <translation>位置指令 (rad)</translation>
    </message>
    <message>
        <source>Velocity Command (rad/s)</source>
        <translation>速度指令 (rad/s)</translation>
    </message>
    <message>
        <source>加速度设置(rad/s/s)</source>
        <translation>加速度设置(rad/s/s)</translation>
    </message>
    <message>
        <source>Current Limit (A)</source>
        <translation>电流限制 (A)</translation>
    </message>
    <message>
        <source>电流指令 (A)</source>
        <translation>电流指令 (A)</translation>
    </message>
    <message>
        <source>&lt;&lt; Send &gt;&gt;</source>
        <translation>&lt;&lt; 发送 &gt;&gt;</translation>
    </message>
    <message>
        <source>Continuously</source>
        <translation>连续</translation>
    </message>
    <message>
        <source>&lt;&lt; Start &gt;&gt;</source>
        <translation>&lt;&lt; 开始 &gt;&gt;</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Motor State</source>
        <translation>电机状态</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>Velocity</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Torque</source>
        <translation>力矩</translation>
    </message>
    <message>
        <source>Fault</source>
        <translation>故障</translation>
    </message>
</context>
<context>
    <name>StationRecords</name>
    <message>
        <source>No records server is configured (config.records.url or --records postgresql://...).</source>
        <translation>未配置记录服务器（config.records.url 或 --records postgresql://...）。</translation>
    </message>
</context>
<context>
    <name>StatisticsModel</name>
    <message>
        <source>CAN ID</source>
        <translation>CAN ID</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>记录数</translation>
    </message>
    <message>
        <source>Rate (1/s)</source>
        <translation>速率 (1/s)</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>反馈</translation>
    </message>
    <message>
        <source>Min interval (ms)</source>
        <translation>最小间隔 (ms)</translation>
    </message>
    <message>
        <source>Mean interval (ms)</source>
        <translation>平均间隔 (ms)</translation>
    </message>
    <message>
        <source>Max interval (ms)</source>
        <translation>最大间隔 (ms)</translation>
    </message>
    <message>
        <source>Last fault</source>
        <translation>最近故障</translation>
    </message>
    <message>
        <source>Last warning</source>
        <translation>最近警告</translation>
    </message>
    <message>
        <source>Not decoded</source>
        <translation>未能解码</translation>
    </message>
    <message>
        <source>Frames per type</source>
        <translation>各类型帧数</translation>
    </message>
    <message>
        <source>adapter</source>
        <translation>适配器</translation>
    </message>
</context>
<context>
    <name>StatusBar</name>
    <message>
        <source>%1 runs waiting to be sent</source>
        <translation>%1 次运行等待发送</translation>
    </message>
</context>
<context>
    <name>TimelineModel</name>
    <message>
        <source>not read</source>
        <translation>未读取</translation>
    </message>
    <message>
        <source>The firmware changed since the run before.</source>
        <translation>与前一次运行相比固件已改变。</translation>
    </message>
    <message>
        <source>The parameter table changed since the run before:
%1</source>
        <translation>与前一次运行相比参数表已改变：
%1</translation>
    </message>
    <message>
        <source>CAN ID</source>
        <translation>CAN ID</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>固件</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>参数</translation>
    </message>
</context>
<context>
    <name>TitleBar</name>
    <message>
        <source>Minimize</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>最大化</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>还原</translation>
    </message>
</context>
<context>
    <name>TitleWidget</name>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>ToolWidget</name>
    <message>
        <source>EStop</source>
        <translation>急停</translation>
    </message>
</context>
<context>
    <name>TraceFileReader</name>
    <message>
        <source>unreadable date</source>
        <translation>无法识别的日期</translation>
    </message>
    <message>
        <source>not an event line</source>
        <translation>不是事件行</translation>
    </message>
    <message>
        <source>bad identifier</source>
        <translation>标识符错误</translation>
    </message>
    <message>
        <source>no data field</source>
        <translation>缺少数据字段</translation>
    </message>
    <message>
        <source>bad length</source>
        <translation>长度错误</translation>
    </message>
    <message>
        <source>more than 8 data bytes</source>
        <translation>数据超过 8 字节</translation>
    </message>
    <message>
        <source>missing data bytes</source>
        <translation>缺少数据字节</translation>
    </message>
    <message>
        <source>bad data bytes</source>
        <translation>数据字节错误</translation>
    </message>
    <message>
        <source>no time stamp</source>
        <translation>缺少时间戳</translation>
    </message>
    <message>
        <source>bad time stamp</source>
        <translation>时间戳错误</translation>
    </message>
    <message>
        <source>no interface</source>
        <translation>缺少接口名</translation>
    </message>
    <message>
        <source>no frame</source>
        <translation>缺少帧</translation>
    </message>
    <message>
        <source>unexpected text after the frame</source>
        <translation>帧后有多余文字</translation>
    </message>
    <message>
        <source>The file holds %1 frames, more than the trace keeps: the last %2 were loaded.</source>
        <translation>文件含 %1 帧，超过报文记录的容量：已载入最后 %2 帧。</translation>
    </message>
    <message>
        <source>%1 records ignored (%2 with 11-bit identifiers, %3 error frames, %4 others).</source>
        <translation>忽略了 %1 条记录（%2 条 11 位标识符，%3 条错误帧，%4 条其他）。</translation>
    </message>
    <message>
        <source>%1 lines skipped as unreadable:</source>
        <translation>跳过了 %1 行无法读取的内容：</translation>
    </message>
    <message>
        <source>... and %1 more.</source>
        <translation>……另有 %1 行。</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>line too long</source>
        <translation>行过长</translation>
    </message>
</context>
<context>
    <name>TraceFileWriter</name>
    <message>
        <source>the file could not be written whole</source>
        <translation>文件未能完整写入</translation>
    </message>
</context>
<context>
    <name>TraceFilter</name>
    <message>
        <source>dir= expects rx or tx: %1</source>
        <translation>dir= 需要 rx 或 tx：%1</translation>
    </message>
    <message>
        <source>Unknown type %1.</source>
        <translation>未知类型 %1。</translation>
    </message>
    <message>
        <source>id= expects CAN IDs 0..255: %1</source>
        <translation>id= 需要 0..255 的 CAN ID：%1</translation>
    </message>
    <message>
        <source>Unknown filter term %1 (dir=, type=, id=, text=).</source>
        <translation>未知筛选条件 %1（dir=、type=、id=、text=）。</translation>
    </message>
</context>
<context>
    <name>TraceModel</name>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Dir</source>
        <translation>方向</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>From</source>
        <translation>源</translation>
    </message>
    <message>
        <source>To</source>
        <translation>目标</translation>
    </message>
    <message>
        <source>Identifier</source>
        <translation>标识符</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>数据</translation>
    </message>
    <message>
        <source>Decoded</source>
        <translation>解码</translation>
    </message>
    <message>
        <source>(no longer in the trace)</source>
        <translation>（已不在报文记录中）</translation>
    </message>
</context>
<context>
    <name>TraceStatistics</name>
    <message>
        <source>CAN ID   records     rate/s  feedback interval ms (min/mean/max)  fault      failed  types</source>
        <translation>CAN ID   记录数      速率/s  反馈间隔 ms (最小/平均/最大)            故障       未解码  类型</translation>
    </message>
    <message>
        <source>adapter</source>
        <translation>适配器</translation>
    </message>
    <message>
        <source>%1 CAN IDs never answered the %2 requests sent to them.</source>
        <translation>%1 个 CAN ID 从未应答发给它们的 %2 个请求。</translation>
    </message>
</context>
<context>
    <name>WorkbenchScreens</name>
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>Device Info</source>
        <translation>设备信息</translation>
    </message>
    <message>
        <source>Param Table</source>
        <translation>参数表</translation>
    </message>
</context>
<context>
    <name>XmlForm</name>
    <message>
        <source>an element with more than %1 attributes at line %2</source>
        <translation>第 %2 行的元素有超过 %1 个属性</translation>
    </message>
</context>
<context>
    <name>YamlMap</name>
    <message>
        <source>%1 must be a mapping of keys and values</source>
        <translation>%1 必须是键值映射</translation>
    </message>
    <message>
        <source>keys in %1 must be plain names</source>
        <translation>%1 中的键必须是普通名称</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is given twice in %2 (first on line %3)</source>
        <translation>&quot;%1&quot; 在 %2 中出现了两次（第一次在第 %3 行）</translation>
    </message>
    <message>
        <source>%1 needs &quot;%2&quot;</source>
        <translation>%1 需要 &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1 must be true or false</source>
        <translation>%1 必须是 true 或 false</translation>
    </message>
    <message>
        <source>%1 must be a time such as 2, 0.5 s, 500 ms or 1 min</source>
        <translation>%1 必须是时间，例如 2、0.5 s、500 ms 或 1 min</translation>
    </message>
    <message>
        <source>%1 must be above 0 and at most %2 s</source>
        <translation>%1 必须大于 0 且不超过 %2 s</translation>
    </message>
    <message>
        <source>unknown key &quot;%1&quot; in %2</source>
        <translation>%2 中有未知键 &quot;%1&quot;</translation>
    </message>
    <message>
        <source> (did you mean &quot;%1&quot;?)</source>
        <translation>（是否指 &quot;%1&quot;？）</translation>
    </message>
    <message>
        <source> (known here: %1)</source>
        <translation>（此处可用：%1）</translation>
    </message>
    <message>
        <source>%1 must be a number</source>
        <translation>%1 必须是数字</translation>
    </message>
    <message>
        <source>%1 must be from %2 to %3</source>
        <translation>%1 必须在 %2 到 %3 之间</translation>
    </message>
    <message>
        <source>%1 must be a whole number</source>
        <translation>%1 必须是整数</translation>
    </message>
    <message>
        <source>%1 has no value</source>
        <translation>%1 没有值</translation>
    </message>
    <message>
        <source>%1 must be text</source>
        <translation>%1 必须是文本</translation>
    </message>
</context>
<context>
    <name>ZeroFlow</name>
    <message>
        <source>The motor did not confirm the mechanical zero.</source>
        <translation>电机未确认机械零点。</translation>
    </message>
    <message>
        <source>setting the mechanical zero</source>
        <translation>正在设置机械零点</translation>
    </message>
</context>
<context>
    <name>kx</name>
    <message>
        <source>cannot replace %1 (error %2)</source>
        <translation>无法替换 %1（错误 %2）</translation>
    </message>
</context>
<context>
    <name>kx::AtomicFile</name>
    <message>
        <source>unknown error</source>
        <translation>未知错误</translation>
    </message>
    <message>
        <source>no file name</source>
        <translation>没有文件名</translation>
    </message>
    <message>
        <source>%1 is a directory</source>
        <translation>%1 是一个目录</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 不是普通文件</translation>
    </message>
    <message>
        <source>%1 is not writable</source>
        <translation>%1 不可写</translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation>文件未打开</translation>
    </message>
</context>
<context>
    <name>kx::ConvertCommand</name>
    <message>
        <source>invalid JSON at offset %1: %2</source>
        <translation>偏移 %1 处的 JSON 无效：%2</translation>
    </message>
    <message>
        <source>invalid XML at line %1, column %2: %3</source>
        <translation>第 %1 行第 %2 列的 XML 无效：%3</translation>
    </message>
    <message>
        <source>not a compressed binary record (offset 0)</source>
        <translation>不是压缩的二进制记录（偏移 0）</translation>
    </message>
    <message>
        <source>damaged binary record at offset %1 of the uncompressed data</source>
        <translation>解压后数据偏移 %1 处的二进制记录已损坏</translation>
    </message>
    <message>
        <source>unknown origin type</source>
        <translation>未知的源类型</translation>
    </message>
    <message>
        <source>convert JSON|XML|BIN JSON|XML|BIN -data=&lt;data&gt;|-path=&lt;path&gt;</source>
        <translation>convert JSON|XML|BIN JSON|XML|BIN -data=&lt;数据&gt;|-path=&lt;路径&gt;</translation>
    </message>
    <message>
        <source>Convert 1st type of data to 2nd type</source>
        <translation>将第一种类型的数据转换为第二种类型</translation>
    </message>
    <message>
        <source>origin type is same with target type</source>
        <translation>源类型与目标类型相同</translation>
    </message>
    <message>
        <source>unknown origin type: </source>
        <translation>未知的源类型：</translation>
    </message>
    <message>
        <source>cannot read file: </source>
        <translation>无法读取文件：</translation>
    </message>
    <message>
        <source>no input: -path=&lt;path&gt; or -data=&lt;data&gt;</source>
        <translation>没有输入：-path=&lt;路径&gt; 或 -data=&lt;数据&gt;</translation>
    </message>
    <message>
        <source>refused XML: %1</source>
        <translation>已拒绝的 XML：%1</translation>
    </message>
</context>
<context>
    <name>kx::InputFile</name>
    <message>
        <source>a directory, not a file</source>
        <translation>是目录而不是文件</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
    <message>
        <source>larger than %1 bytes</source>
        <translation>大于 %1 字节</translation>
    </message>
</context>
<context>
    <name>waveDisplay</name>
    <message>
        <source>Channel %1</source>
        <translation>通道 %1</translation>
    </message>
    <message>
        <source>t = %1 s</source>
        <translation>t = %1 s</translation>
    </message>
    <message>
        <source>Time (s)</source>
        <translation>时间 (s)</translation>
    </message>
</context>
</TS>
