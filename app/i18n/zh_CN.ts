<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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
    <name>Editor</name>
    <message>
        <source>Device Info</source>
        <translation>设备信息</translation>
    </message>
    <message>
        <source>Param Table</source>
        <translation>参数表</translation>
    </message>
    <message>
        <source>Please open param table of %1 first!</source>
        <translation>请先打开 %1 的参数表！</translation>
    </message>
    <message>
        <source>Oscilloscope</source>
        <translation>示波器</translation>
    </message>
    <message>
        <source>Instruction</source>
        <translation>使用说明</translation>
    </message>
    <message>
        <source>%1 - %2</source>
        <translation>%1 - %2</translation>
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
        <source>Version %1

Built %2</source>
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
    <name>LeftTitle</name>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>Analyze</source>
        <translation>分析</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
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
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>Analyze</source>
        <translation>分析</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
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
</context>
<context>
    <name>ShellRegistry</name>
    <message>
        <source>Motion control is not part of this build yet.</source>
        <translation>运动控制尚未包含在本版本中。</translation>
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
</TS>
