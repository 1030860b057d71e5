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
    <name>AtomicFile</name>
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
    <name>ConvertCommand</name>
    <message>
        <source>invalid JSON at offset %1: %2</source>
        <translation>偏移 %1 处的 JSON 无效：%2</translation>
    </message>
    <message>
        <source>refused XML: %1</source>
        <translation>拒绝的 XML：%1</translation>
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
        <translation>解压数据偏移 %1 处的二进制记录已损坏</translation>
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
        <source>Are you sure to update? This may take a while.</source>
        <translation>确定要升级吗？这可能需要一些时间。</translation>
    </message>
    <message>
        <source>Erasing flash...</source>
        <translation>正在擦除 Flash...</translation>
    </message>
    <message>
        <source>Sending file... %1%</source>
        <translation>正在发送文件... %1%</translation>
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
    <name>EstopVerb</name>
    <message>
        <source>Brake the target motor at once, or every motor detected with --all.</source>
        <translation>立即制动目标电机，或使用 --all 制动检测到的每台电机。</translation>
    </message>
    <message>
        <source>Brake every motor on the bus.</source>
        <translation>制动总线上的每台电机。</translation>
    </message>
    <message>
        <source>estop takes no arguments: %1</source>
        <translation>estop 不接受参数：%1</translation>
    </message>
    <message numerus="yes">
        <source>Braking %n motor(s)...</source>
        <translation>
            <numerusform>正在制动 %n 台电机...</numerusform>
        </translation>
    </message>
    <message>
        <source>Motor %1 did not confirm brake mode.</source>
        <translation>电机 %1 未确认制动模式。</translation>
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
        <translation>向目标电机发送固件镜像（.bin/.hex，最大 512 KiB）；仅当电机的最终校验
接受它时才成功。进度（百分比、包/秒、剩余时间）输出到 stderr。</translation>
    </message>
    <message>
        <source>The firmware image.</source>
        <translation>固件镜像。</translation>
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
        <translation>电机未响应型号查询。</translation>
    </message>
</context>
<context>
    <name>InputFile</name>
    <message>
        <source>a directory, not a file</source>
        <translation>是目录，不是文件</translation>
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
    <message>
        <source>Run mode %1 is outside the range [0, 255]: command refused.</source>
        <translation>运行模式 %1 超出范围 [0, 255]：命令被拒绝。</translation>
    </message>
</context>
<context>
    <name>LinkLease</name>
    <message>
        <source>the bus is busy: %1</source>
        <translation>总线忙：%1</translation>
    </message>
    <message>
        <source>motor %1 is busy: %2</source>
        <translation>电机 %1 忙：%2</translation>
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
        <translation>ID</translation>
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
        <source>--port is required.</source>
        <translation>必须指定 --port。</translation>
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
        <source>Cannot open %1.</source>
        <translation>无法打开 %1。</translation>
    </message>
    <message>
        <source>CAN ID %1 did not answer: scanning the bus.</source>
        <translation>CAN ID %1 未应答：正在扫描总线。</translation>
    </message>
    <message>
        <source>No motor answered on %1.</source>
        <translation>%1 上没有电机应答。</translation>
    </message>
    <message>
        <source>Detection timed out on %1.</source>
        <translation>%1 上的检测超时。</translation>
    </message>
    <message>
        <source>No motor with CAN ID %1 on %2.</source>
        <translation>%2 上没有 CAN ID 为 %1 的电机。</translation>
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
        <translation>以无符号整数发送该值。</translation>
    </message>
    <message>
        <source>The motor did not confirm the mechanical zero.</source>
        <translation>电机未确认机械零点。</translation>
    </message>
    <message>
        <source>The motor did not announce itself under CAN ID %1.</source>
        <translation>电机未以 CAN ID %1 宣告自身。</translation>
    </message>
    <message>
        <source>MCU ID: 0x%1  CAN ID: %2  model: %3</source>
        <translation>MCU ID：0x%1  CAN ID：%2  型号：%3</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
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
        <source>The adapter was disconnected during the calibration.</source>
        <translation>校准过程中适配器已断开。</translation>
    </message>
    <message>
        <source>The calibration did not finish in time.</source>
        <translation>校准未能按时完成。</translation>
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
        <source>Waveform exported to %1</source>
        <translation>波形已导出到 %1</translation>
    </message>
    <message>
        <source>Cannot export to %1: %2</source>
        <translation>无法导出到 %1：%2</translation>
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
        <source>file too large for a parameter backup</source>
        <translation type="vanished">文件过大，不是有效的参数备份</translation>
    </message>
    <message>
        <source>the list of entries is missing or damaged</source>
        <translation>条目列表缺失或已损坏</translation>
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
        <source>Read, edit, save, back up, compare and restore a motor&apos;s parameter table.
Writes count once read back; backup and dump --verify read every value twice.
diff exits 0 when no writable entry differs and 1 when some do; with two files it needs no port.</source>
        <translation>读取、编辑、保存、备份、比较和恢复电机的参数表。
写入在回读后才算完成；backup 和 dump --verify 会把每个值读两次。
没有可写条目不同时 diff 以 0 退出，有不同时以 1 退出；比较两个文件时不需要端口。</translation>
    </message>
    <message>
        <source>set: save the value in the motor&apos;s flash.</source>
        <translation>set：将该值保存到电机的闪存中。</translation>
    </message>
    <message>
        <source>restore: only these codes.</source>
        <translation>restore：仅这些代码。</translation>
    </message>
    <message>
        <source>codes</source>
        <translation>代码</translation>
    </message>
    <message>
        <source>restore: show the writes, write nothing.</source>
        <translation>restore：显示将要写入的内容，不写入。</translation>
    </message>
    <message>
        <source>restore: also entries whose name or type changed.</source>
        <translation>restore：也包括名称或类型已改变的条目。</translation>
    </message>
    <message>
        <source>dump: read every value a second time and compare.</source>
        <translation>dump：把每个值再读一次并比较。</translation>
    </message>
    <message>
        <source>params expects one of: %1</source>
        <translation>params 需要以下之一：%1</translation>
    </message>
    <message>
        <source>Wrong number of arguments for params %1.</source>
        <translation>params %1 的参数数目错误。</translation>
    </message>
    <message>
        <source>Not an entry code: %1</source>
        <translation>不是条目代码：%1</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
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
        <source>Reading every value a second time...</source>
        <translation>正在把每个值再读一次...</translation>
    </message>
    <message>
        <source>%1 of %2 values read</source>
        <translation>已读取 %1/%2 个值</translation>
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
        <source>The motor has no entry %1.</source>
        <translation>电机没有条目 %1。</translation>
    </message>
    <message>
        <source>%1 %2 is read-only.</source>
        <translation>%1 %2 为只读。</translation>
    </message>
    <message>
        <source>Please input ASCII charaters</source>
        <translation>请输入ASCII字符</translation>
    </message>
    <message>
        <source>Only the first 16 characters are written: %1</source>
        <translation>只写入前 16 个字符：%1</translation>
    </message>
    <message>
        <source>Not a %1 value: %2</source>
        <translation>不是 %1 值：%2</translation>
    </message>
    <message>
        <source>Value out of range: %1 is outside [%2, %3].</source>
        <translation>值超出范围：%1 不在 [%2, %3] 内。</translation>
    </message>
    <message>
        <source>%1 of %2 entries written and read back</source>
        <translation>已写入并回读 %1/%2 个条目</translation>
    </message>
    <message>
        <source>The write was not confirmed.</source>
        <translation>写入未得到确认。</translation>
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
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>%1 entries saved to %2.</source>
        <translation>%1 个条目已保存到 %2。</translation>
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
        <source>Nothing was written: %1 entries of the backup cannot be restored.</source>
        <translation>未写入任何内容：备份中有 %1 个条目无法恢复。</translation>
    </message>
    <message>
        <source>Nothing to restore.</source>
        <translation>没有需要恢复的内容。</translation>
    </message>
    <message>
        <source>Writing %1 entries...</source>
        <translation>正在写入 %1 个条目...</translation>
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
    <name>ReconnectWatcher</name>
    <message>
        <source>Serial port %1 is back: reconnecting.</source>
        <translation>串口 %1 已恢复：正在重新连接。</translation>
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
    <name>ScopeVerb</name>
    <message>
        <source>Record up to eight scope channels of the target into a waveform file (or CSV with a header of channel names) and report records received and lost.</source>
        <translation>将目标的最多八个示波器通道记录到波形文件（或带通道名表头的 CSV）中，并报告接收和丢失的记录数。</translation>
    </message>
    <message>
        <source>Channels by parameter name or code (0x3000), comma-separated.</source>
        <translation>以参数名称或代码（0x3000）指定的通道，以逗号分隔。</translation>
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
        <translation>记录时长。</translation>
    </message>
    <message>
        <source>s</source>
        <translation>秒</translation>
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
        <translation>写入 CSV 而不是波形格式。</translation>
    </message>
    <message>
        <source>What to do (record).</source>
        <translation>要做的事（record）。</translation>
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
        <translation>必须指定 --out。</translation>
    </message>
    <message>
        <source>This build has no scope.</source>
        <translation>此版本没有示波器。</translation>
    </message>
    <message>
        <source>Reading the parameter names of the target...</source>
        <translation>正在读取目标的参数名称...</translation>
    </message>
    <message>
        <source>Unknown channel %1: without the motor&apos;s parameter table channels are given by code (e.g. 0x3000).</source>
        <translation>未知通道 %1：没有电机参数表时，通道以代码给出（例如 0x3000）。</translation>
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
        <source>The motor did not answer the scope configuration.</source>
        <translation>电机未响应示波器配置。</translation>
    </message>
    <message>
        <source>Recording %1 channel(s) at %2 Hz for %3 s into %4</source>
        <translation>正在以 %2 Hz 将 %1 个通道记录 %3 秒到 %4</translation>
    </message>
    <message>
        <source>%1 s: %2 records, %3 lost</source>
        <translation>%1 秒：%2 条记录，丢失 %3 条</translation>
    </message>
    <message>
        <source>Records received: %1, lost: %2</source>
        <translation>接收记录：%1，丢失：%2</translation>
    </message>
    <message>
        <source>Records with a damaged time stamp: %1</source>
        <translation>时间戳损坏的记录：%1</translation>
    </message>
    <message>
        <source>The link closed during the recording.</source>
        <translation>记录过程中链路已关闭。</translation>
    </message>
    <message>
        <source>%1 was left as it was; the %2 records received are in %3.</source>
        <translation>%1 保持原样；收到的 %2 条记录保存在 %3 中。</translation>
    </message>
    <message>
        <source>The motor did not confirm the stop.</source>
        <translation>电机未确认停止。</translation>
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
</context>
<context>
    <name>SidebarForm</name>
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
    <name>XmlForm</name>
    <message>
        <source>an element with more than %1 attributes at line %2</source>
        <translation>第 %2 行的元素有超过 %1 个属性</translation>
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
    <name>waveDisplay</name>
    <message>
        <source>Channel %1</source>
        <translation>通道 %1</translation>
    </message>
    <message>
        <source>t = %1 s</source>
        <translation>t = %1 s</translation>
    </message>
</context>
</TS>
