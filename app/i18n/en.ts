<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>AnalyzeTools</name>
    <message>
        <source>Oscilloscope</source>
        <translation>Oscilloscope</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source> Hz</source>
        <translation> Hz</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Wave file</source>
        <translation>Wave file</translation>
    </message>
    <message>
        <source>TXT Files(*.txt)</source>
        <translation>TXT Files(*.txt)</translation>
    </message>
    <message>
        <source>Output waveform</source>
        <translation>Output waveform</translation>
    </message>
    <message>
        <source>Output waveform: %1</source>
        <translation>Output waveform: %1</translation>
    </message>
</context>
<context>
    <name>BinForm</name>
    <message>
        <source>too short for a compressed record</source>
        <translation>too short for a compressed record</translation>
    </message>
    <message>
        <source>would expand to %1 bytes, more than the %2 allowed</source>
        <translation>would expand to %1 bytes, more than the %2 allowed</translation>
    </message>
    <message>
        <source>its size header cannot be true</source>
        <translation>its size header cannot be true</translation>
    </message>
    <message>
        <source>expands beyond the %1 bytes its header gives</source>
        <translation>expands beyond the %1 bytes its header gives</translation>
    </message>
    <message>
        <source>not valid compressed data</source>
        <translation>not valid compressed data</translation>
    </message>
</context>
<context>
    <name>BusMonitorPage</name>
    <message>
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Both</translation>
    </message>
    <message>
        <source>Received (Rx)</source>
        <translation>Received (Rx)</translation>
    </message>
    <message>
        <source>Sent (Tx)</source>
        <translation>Sent (Tx)</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>All</source>
        <translation>All</translation>
    </message>
    <message>
        <source>AT lines</source>
        <translation>AT lines</translation>
    </message>
    <message>
        <source>Skipped bytes</source>
        <translation>Skipped bytes</translation>
    </message>
    <message>
        <source>CAN ID</source>
        <translation>CAN ID</translation>
    </message>
    <message>
        <source>all, or 1,2,...</source>
        <translation>all, or 1,2,...</translation>
    </message>
    <message>
        <source>Search the decoded fields and data</source>
        <translation>Search the decoded fields and data</translation>
    </message>
    <message>
        <source>Back to the live bus</source>
        <translation>Back to the live bus</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Follow the end</source>
        <translation>Follow the end</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Save...</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>File %1</source>
        <translation>File %1</translation>
    </message>
    <message>
        <source>%1 records, %2 shown</source>
        <translation>%1 records, %2 shown</translation>
    </message>
    <message>
        <source>paused, %1 waiting</source>
        <translation>paused, %1 waiting</translation>
    </message>
    <message>
        <source>%1 dropped from the start</source>
        <translation>%1 dropped from the start</translation>
    </message>
    <message>
        <source>%1 passed the view</source>
        <translation>%1 passed the view</translation>
    </message>
    <message>
        <source>%1 lost</source>
        <translation>%1 lost</translation>
    </message>
    <message>
        <source>CAN IDs are numbers from 0 to 255, separated by commas.</source>
        <translation>CAN IDs are numbers from 0 to 255, separated by commas.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>Trace saved to %1: %2 frames (%3 AT lines and skipped bytes have no place in the file).</source>
        <translation>Trace saved to %1: %2 frames (%3 AT lines and skipped bytes have no place in the file).</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>%1 frames read from %2.</source>
        <translation>%1 frames read from %2.</translation>
    </message>
    <message>
        <source>Save trace</source>
        <translation>Save trace</translation>
    </message>
    <message>
        <source>Save only the %1 records the filter shows? No saves the whole trace.</source>
        <translation>Save only the %1 records the filter shows? No saves the whole trace.</translation>
    </message>
    <message>
        <source>candump log (*.log);;ASC (*.asc)</source>
        <translation>candump log (*.log);;ASC (*.asc)</translation>
    </message>
    <message>
        <source>Open trace</source>
        <translation>Open trace</translation>
    </message>
    <message>
        <source>Traces (*.log *.asc);;All files (*)</source>
        <translation>Traces (*.log *.asc);;All files (*)</translation>
    </message>
</context>
<context>
    <name>CANWorker</name>
    <message>
        <source>Serial port %1 is already connected.</source>
        <translation>Serial port %1 is already connected.</translation>
    </message>
    <message>
        <source>Motor %1</source>
        <translation>Motor %1</translation>
    </message>
    <message>
        <source>USB-CAN module configuration failed, please check physical device!</source>
        <translation>USB-CAN module configuration failed, please check physical device!</translation>
    </message>
    <message>
        <source>Connect overtime, try baud rate: %1</source>
        <translation>Connect overtime, try baud rate: %1</translation>
    </message>
    <message>
        <source>Detecting devices at serial port %1</source>
        <translation>Detecting devices at serial port %1</translation>
    </message>
    <message>
        <source>USB-CAN module configuration success!</source>
        <translation>USB-CAN module configuration success!</translation>
    </message>
    <message>
        <source>Detected device: [MCU ID: 0x%1, CAN ID: %2]</source>
        <translation>Detected device: [MCU ID: 0x%1, CAN ID: %2]</translation>
    </message>
    <message>
        <source>Too many devices detected!</source>
        <translation>Too many devices detected!</translation>
    </message>
    <message>
        <source>Multiple devices connection is forbidden.</source>
        <translation>Multiple devices connection is forbidden.</translation>
    </message>
    <message>
        <source>Serial port error: %1!</source>
        <translation>Serial port error: %1!</translation>
    </message>
    <message>
        <source>%1 Serial port %2 is gone; it is reconnected when it comes back.</source>
        <translation>%1 Serial port %2 is gone; it is reconnected when it comes back.</translation>
    </message>
    <message>
        <source>Device Not Found Error</source>
        <translation>Device Not Found Error</translation>
    </message>
    <message>
        <source>Permission Error</source>
        <translation>Permission Error</translation>
    </message>
    <message>
        <source>Open Error</source>
        <translation>Open Error</translation>
    </message>
    <message>
        <source>Parity Error</source>
        <translation>Parity Error</translation>
    </message>
    <message>
        <source>Framing Error</source>
        <translation>Framing Error</translation>
    </message>
    <message>
        <source>Break Condition Error</source>
        <translation>Break Condition Error</translation>
    </message>
    <message>
        <source>Write Error</source>
        <translation>Write Error</translation>
    </message>
    <message>
        <source>Read Error</source>
        <translation>Read Error</translation>
    </message>
    <message>
        <source>Resource Error</source>
        <translation>Resource Error</translation>
    </message>
    <message>
        <source>Unsupported Operation Error</source>
        <translation>Unsupported Operation Error</translation>
    </message>
    <message>
        <source>Unknown Error</source>
        <translation>Unknown Error</translation>
    </message>
    <message>
        <source>Timeout Error</source>
        <translation>Timeout Error</translation>
    </message>
    <message>
        <source>Not Open Error</source>
        <translation>Not Open Error</translation>
    </message>
    <message>
        <source>Invalid announce package (ex data: %1, ex id: %2)!</source>
        <translation>Invalid announce package (ex data: %1, ex id: %2)!</translation>
    </message>
    <message>
        <source>%1 Serial port %2 is gone; its motors and pages are kept.</source>
        <translation>%1 Serial port %2 is gone; its motors and pages are kept.</translation>
    </message>
    <message>
        <source>Serial port %1 is gone (the adapter was unplugged?). Its motors and open pages are kept.

Reconnect as soon as it is back?</source>
        <translation>Serial port %1 is gone (the adapter was unplugged?). Its motors and open pages are kept.

Reconnect as soon as it is back?</translation>
    </message>
    <message>
        <source>Detecting devices on CAN interface %1</source>
        <translation>Detecting devices on CAN interface %1</translation>
    </message>
    <message>
        <source>%1 Its motors and pages are kept.</source>
        <translation>%1 Its motors and pages are kept.</translation>
    </message>
    <message>
        <source>%1 It is reconnected when it comes back.</source>
        <translation>%1 It is reconnected when it comes back.</translation>
    </message>
    <message>
        <source>The CAN interface %1 is gone. Its motors and open pages are kept.

Reconnect as soon as it is back?</source>
        <translation>The CAN interface %1 is gone. Its motors and open pages are kept.

Reconnect as soon as it is back?</translation>
    </message>
</context>
<context>
    <name>CalibrateFlow</name>
    <message>
        <source>No motor to calibrate.</source>
        <translation>No motor to calibrate.</translation>
    </message>
    <message>
        <source>The adapter was disconnected before the calibration started.</source>
        <translation>The adapter was disconnected before the calibration started.</translation>
    </message>
    <message>
        <source>The motor did not enter calibration mode.</source>
        <translation>The motor did not enter calibration mode.</translation>
    </message>
    <message>
        <source>Calibrating encoder...</source>
        <translation>Calibrating encoder...</translation>
    </message>
    <message>
        <source>The adapter was disconnected during the calibration.</source>
        <translation>The adapter was disconnected during the calibration.</translation>
    </message>
    <message>
        <source>The calibration did not finish in time.</source>
        <translation>The calibration did not finish in time.</translation>
    </message>
    <message>
        <source>calibrating</source>
        <translation>calibrating</translation>
    </message>
    <message>
        <source>Saving calibration result...</source>
        <translation>Saving calibration result...</translation>
    </message>
</context>
<context>
    <name>CanBusTransport</name>
    <message>
        <source>The CAN interface %1 was disconnected.</source>
        <translation>The CAN interface %1 was disconnected.</translation>
    </message>
    <message>
        <source>Nothing serves the virtual CAN bus %1:%2 (start its server first, e.g. trivane-sim --bus virtualcan:%3).</source>
        <translation>Nothing serves the virtual CAN bus %1:%2 (start its server first, e.g. trivane-sim --bus virtualcan:%3).</translation>
    </message>
    <message>
        <source>%1 is not a CAN interface (PLUGIN:INTERFACE).</source>
        <translation>%1 is not a CAN interface (PLUGIN:INTERFACE).</translation>
    </message>
    <message>
        <source>No CAN interface %1.</source>
        <translation>No CAN interface %1.</translation>
    </message>
    <message>
        <source>Cannot open the CAN interface %1: %2</source>
        <translation>Cannot open the CAN interface %1: %2</translation>
    </message>
    <message>
        <source>The CAN interface %1 did not come up within %2 s.</source>
        <translation>The CAN interface %1 did not come up within %2 s.</translation>
    </message>
    <message>
        <source>Cannot read from the CAN interface %1: %2</source>
        <translation>Cannot read from the CAN interface %1: %2</translation>
    </message>
    <message>
        <source>The CAN interface %1 failed: %2</source>
        <translation>The CAN interface %1 failed: %2</translation>
    </message>
    <message>
        <source>The CAN interface %1 refused its configuration: %2</source>
        <translation>The CAN interface %1 refused its configuration: %2</translation>
    </message>
</context>
<context>
    <name>CaptureTable</name>
    <message>
        <source>line %1: a recording starts with &quot;time&quot; and its channels</source>
        <translation>line %1: a recording starts with &quot;time&quot; and its channels</translation>
    </message>
    <message>
        <source>line %1: %2 values where %3 belong</source>
        <translation>line %1: %2 values where %3 belong</translation>
    </message>
    <message>
        <source>line %1: &quot;%2&quot; is not a number</source>
        <translation>line %1: &quot;%2&quot; is not a number</translation>
    </message>
    <message>
        <source>the recording is empty</source>
        <translation>the recording is empty</translation>
    </message>
</context>
<context>
    <name>ChannelDialog</name>
    <message>
        <source>Select channel</source>
        <translation>Select channel</translation>
    </message>
    <message>
        <source>Channel %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Legend</source>
        <translation>Legend</translation>
    </message>
</context>
<context>
    <name>ClearAlarmFlow</name>
    <message>
        <source>The motor did not answer the alarm clear.</source>
        <translation>The motor did not answer the alarm clear.</translation>
    </message>
    <message>
        <source>Motor %1 still reports a fault (0x%2).</source>
        <translation>Motor %1 still reports a fault (0x%2).</translation>
    </message>
    <message>
        <source>clearing its alarm</source>
        <translation>clearing its alarm</translation>
    </message>
</context>
<context>
    <name>CommissionJob</name>
    <message>
        <source>The window was closed.</source>
        <translation>The window was closed.</translation>
    </message>
    <message>
        <source>unknown reason</source>
        <translation>unknown reason</translation>
    </message>
</context>
<context>
    <name>CommissionPage</name>
    <message>
        <source>The commissioning page was closed.</source>
        <translation>The commissioning page was closed.</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>Choose a commissioning plan (YAML)</source>
        <translation>Choose a commissioning plan (YAML)</translation>
    </message>
    <message>
        <source>Choose...</source>
        <translation>Choose...</translation>
    </message>
    <message>
        <source>Motors</source>
        <translation>Motors</translation>
    </message>
    <message>
        <source>Every motor on the bus</source>
        <translation>Every motor on the bus</translation>
    </message>
    <message>
        <source>One motor, CAN ID:</source>
        <translation>One motor, CAN ID:</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Reports in</source>
        <translation>Reports in</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Emergency stop (Esc)</source>
        <translation>Emergency stop (Esc)</translation>
    </message>
    <message>
        <source>Brake every connected motor; the run ends and leaves its motors in reset mode.</source>
        <translation>Brake every connected motor; the run ends and leaves its motors in reset mode.</translation>
    </message>
    <message>
        <source>Open report</source>
        <translation>Open report</translation>
    </message>
    <message>
        <source>Motors on the bus</source>
        <translation>Motors on the bus</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Measured</source>
        <translation>Measured</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Open a commissioning plan</source>
        <translation>Open a commissioning plan</translation>
    </message>
    <message>
        <source>Commissioning plans (*.yaml *.yml)</source>
        <translation>Commissioning plans (*.yaml *.yml)</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n step(s)</source>
        <translation>
            <numerusform>%1: %n step(s)</numerusform>
            <numerusform>%1: %n step(s)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The plan cannot run: %n problem(s).</source>
        <translation>
            <numerusform>The plan cannot run: %n problem(s).</numerusform>
            <numerusform>The plan cannot run: %n problem(s).</numerusform>
        </translation>
    </message>
    <message>
        <source>Not connected: connect the adapter on the Device tab.</source>
        <translation>Not connected: connect the adapter on the Device tab.</translation>
    </message>
    <message>
        <source>Motor %1  MCU %2</source>
        <translation>Motor %1  MCU %2</translation>
    </message>
    <message>
        <source>No motor detected yet: the run scans the bus.</source>
        <translation>No motor detected yet: the run scans the bus.</translation>
    </message>
    <message>
        <source>A commissioning run is already going on.</source>
        <translation>A commissioning run is already going on.</translation>
    </message>
    <message>
        <source>Choose a plan that can run first.</source>
        <translation>Choose a plan that can run first.</translation>
    </message>
    <message>
        <source>Connect the adapter first (Device tab, Connect).</source>
        <translation>Connect the adapter first (Device tab, Connect).</translation>
    </message>
    <message>
        <source>Detecting the motors...</source>
        <translation>Detecting the motors...</translation>
    </message>
    <message>
        <source>Cancelled by the operator.</source>
        <translation>Cancelled by the operator.</translation>
    </message>
    <message>
        <source>running</source>
        <translation>running</translation>
    </message>
    <message>
        <source>Motor %1</source>
        <translation>Motor %1</translation>
    </message>
    <message numerus="yes">
        <source>%n motor(s) in the run.</source>
        <translation>
            <numerusform>%n motor(s) in the run.</numerusform>
            <numerusform>%n motor(s) in the run.</numerusform>
        </translation>
    </message>
    <message>
        <source>running %1%</source>
        <translation>running %1%</translation>
    </message>
    <message>
        <source>The reports could not be written: %1</source>
        <translation>The reports could not be written: %1</translation>
    </message>
    <message>
        <source>Reports: %1</source>
        <translation>Reports: %1</translation>
    </message>
    <message>
        <source>model %1</source>
        <translation>model %1</translation>
    </message>
    <message>
        <source>position</source>
        <translation>position</translation>
    </message>
    <message>
        <source>velocity</source>
        <translation>velocity</translation>
    </message>
    <message>
        <source>torque</source>
        <translation>torque</translation>
    </message>
    <message>
        <source>detect</source>
        <translation>detect</translation>
    </message>
    <message>
        <source>identify</source>
        <translation>identify</translation>
    </message>
    <message>
        <source>set CAN ID</source>
        <translation>set CAN ID</translation>
    </message>
    <message>
        <source>flash</source>
        <translation>flash</translation>
    </message>
    <message>
        <source>parameters</source>
        <translation>parameters</translation>
    </message>
    <message>
        <source>zero</source>
        <translation>zero</translation>
    </message>
    <message>
        <source>calibrate</source>
        <translation>calibrate</translation>
    </message>
    <message>
        <source>move</source>
        <translation>move</translation>
    </message>
    <message>
        <source>capture</source>
        <translation>capture</translation>
    </message>
    <message>
        <source>E-stop</source>
        <translation>E-stop</translation>
    </message>
    <message>
        <source>prompt</source>
        <translation>prompt</translation>
    </message>
    <message>
        <source>wait</source>
        <translation>wait</translation>
    </message>
    <message>
        <source>MCU %1, model %2</source>
        <translation>MCU %1, model %2</translation>
    </message>
    <message>
        <source>The run was not kept in the station&apos;s records: %1</source>
        <translation>The run was not kept in the station&apos;s records: %1</translation>
    </message>
</context>
<context>
    <name>CommissionRunner</name>
    <message>
        <source>The run was cancelled.</source>
        <translation>The run was cancelled.</translation>
    </message>
    <message>
        <source>commissioning</source>
        <translation>commissioning</translation>
    </message>
    <message>
        <source>Detect the motors</source>
        <translation>Detect the motors</translation>
    </message>
    <message>
        <source>The motors could not be detected.</source>
        <translation>The motors could not be detected.</translation>
    </message>
    <message>
        <source>No motor answered.</source>
        <translation>No motor answered.</translation>
    </message>
    <message>
        <source>Motor %1 did not answer.</source>
        <translation>Motor %1 did not answer.</translation>
    </message>
    <message>
        <source>%1 motors answer (CAN IDs %2): choose one with --can-id or all of them with --all.</source>
        <translation>%1 motors answer (CAN IDs %2): choose one with --can-id or all of them with --all.</translation>
    </message>
    <message>
        <source>motors</source>
        <translation>motors</translation>
    </message>
    <message>
        <source>model</source>
        <translation>model</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>one of %1</source>
        <translation>one of %1</translation>
    </message>
    <message>
        <source>Motor %1 left in reset mode.</source>
        <translation>Motor %1 left in reset mode.</translation>
    </message>
    <message>
        <source>Motor %1 could not be put into reset mode: %2</source>
        <translation>Motor %1 could not be put into reset mode: %2</translation>
    </message>
    <message>
        <source>not run: %1</source>
        <translation>not run: %1</translation>
    </message>
    <message>
        <source>not run: step %1 did not pass</source>
        <translation>not run: step %1 did not pass</translation>
    </message>
    <message>
        <source>This step cannot run with this link.</source>
        <translation>This step cannot run with this link.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The flow reported nothing for motor %1.</source>
        <translation>The flow reported nothing for motor %1.</translation>
    </message>
    <message>
        <source>(no such entry)</source>
        <translation>(no such entry)</translation>
    </message>
    <message>
        <source>known</source>
        <translation>known</translation>
    </message>
    <message>
        <source>No CAN ID from %1 up is free.</source>
        <translation>No CAN ID from %1 up is free.</translation>
    </message>
    <message>
        <source>CAN ID %1 belongs to another motor on the bus.</source>
        <translation>CAN ID %1 belongs to another motor on the bus.</translation>
    </message>
    <message>
        <source>The motor already has CAN ID %1.</source>
        <translation>The motor already has CAN ID %1.</translation>
    </message>
    <message>
        <source>CAN ID</source>
        <translation>CAN ID</translation>
    </message>
    <message>
        <source>The motor already runs %1.</source>
        <translation>The motor already runs %1.</translation>
    </message>
    <message>
        <source>Replacing %1 with %2.</source>
        <translation>Replacing %1 with %2.</translation>
    </message>
    <message numerus="yes">
        <source>%n entries written.</source>
        <translation>
            <numerusform>%n entries written.</numerusform>
            <numerusform>%n entries written.</numerusform>
        </translation>
    </message>
    <message>
        <source>a number</source>
        <translation>a number</translation>
    </message>
    <message>
        <source>offset</source>
        <translation>offset</translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) lost on the line.</source>
        <translation>
            <numerusform>%n record(s) lost on the line.</numerusform>
            <numerusform>%n record(s) lost on the line.</numerusform>
        </translation>
    </message>
    <message>
        <source>The recording is unreadable: %1</source>
        <translation>The recording is unreadable: %1</translation>
    </message>
    <message>
        <source>brake confirmed after</source>
        <translation>brake confirmed after</translation>
    </message>
    <message>
        <source>Nobody can answer the prompt.</source>
        <translation>Nobody can answer the prompt.</translation>
    </message>
    <message>
        <source>The operator declined.</source>
        <translation>The operator declined.</translation>
    </message>
    <message>
        <source>Confirmed.</source>
        <translation>Confirmed.</translation>
    </message>
    <message>
        <source>The adapter was disconnected.</source>
        <translation>The adapter was disconnected.</translation>
    </message>
    <message>
        <source>Motor %1 reports an alarm before the run: %2</source>
        <translation>Motor %1 reports an alarm before the run: %2</translation>
    </message>
    <message numerus="yes">
        <source>The adapter went away: waiting up to %n second(s) for it to come back, to leave the motors safe.</source>
        <translation>
            <numerusform>The adapter went away: waiting up to %n second(s) for it to come back, to leave the motors safe.</numerusform>
            <numerusform>The adapter went away: waiting up to %n second(s) for it to come back, to leave the motors safe.</numerusform>
        </translation>
    </message>
    <message>
        <source>Motor %1 could not be reached to leave it safe: %2</source>
        <translation>Motor %1 could not be reached to leave it safe: %2</translation>
    </message>
    <message>
        <source>alarm</source>
        <translation>alarm</translation>
    </message>
    <message>
        <source>none</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Motor %1 reported a fault: %2</source>
        <translation>Motor %1 reported a fault: %2</translation>
    </message>
    <message>
        <source>applied</source>
        <translation>applied</translation>
    </message>
</context>
<context>
    <name>CommissionScreens</name>
    <message>
        <source>Commission</source>
        <translation>Commission</translation>
    </message>
</context>
<context>
    <name>CommissionVerb</name>
    <message>
        <source>Take one motor, or every motor on the bus, through a commissioning plan and write its reports
(report.json, JUnit XML, an HTML and a PDF report per motor). Exit 0 when every motor passed,
1 when one did not, 2 when the plan or the command line is wrong.</source>
        <translation>Take one motor, or every motor on the bus, through a commissioning plan and write its reports
(report.json, JUnit XML, an HTML and a PDF report per motor). Exit 0 when every motor passed,
1 when one did not, 2 when the plan or the command line is wrong.</translation>
    </message>
    <message>
        <source>Commission every motor on the bus.</source>
        <translation>Commission every motor on the bus.</translation>
    </message>
    <message>
        <source>Folder for the run&apos;s report folder (default: reports).</source>
        <translation>Folder for the run&apos;s report folder (default: reports).</translation>
    </message>
    <message>
        <source>dir</source>
        <translation>dir</translation>
    </message>
    <message>
        <source>Also write the JUnit XML to this file.</source>
        <translation>Also write the JUnit XML to this file.</translation>
    </message>
    <message>
        <source>file</source>
        <translation>file</translation>
    </message>
    <message>
        <source>Answer every operator prompt with yes.</source>
        <translation>Answer every operator prompt with yes.</translation>
    </message>
    <message>
        <source>Name of this station in the reports (default: host name).</source>
        <translation>Name of this station in the reports (default: host name).</translation>
    </message>
    <message>
        <source>name</source>
        <translation>name</translation>
    </message>
    <message>
        <source>Name of the operator in the reports (default: login name).</source>
        <translation>Name of the operator in the reports (default: login name).</translation>
    </message>
    <message>
        <source>The plan file (YAML).</source>
        <translation>The plan file (YAML).</translation>
    </message>
    <message>
        <source>commission expects one plan file.</source>
        <translation>commission expects one plan file.</translation>
    </message>
    <message>
        <source>Give either --all or --can-id, not both.</source>
        <translation>Give either --all or --can-id, not both.</translation>
    </message>
    <message>
        <source>Stopped by SIGTERM.</source>
        <translation>Stopped by SIGTERM.</translation>
    </message>
    <message>
        <source>Stopped by Ctrl+C.</source>
        <translation>Stopped by Ctrl+C.</translation>
    </message>
    <message>
        <source>[motor %1] %2/%3 %4 ...</source>
        <translation>[motor %1] %2/%3 %4 ...</translation>
    </message>
    <message>
        <source>[motor %1] %2/%3 %4: %5 %6 %7</source>
        <translation>[motor %1] %2/%3 %4: %5 %6 %7</translation>
    </message>
    <message>
        <source>The reports could not be written: %1</source>
        <translation>The reports could not be written: %1</translation>
    </message>
    <message>
        <source>%1 [yes: --yes]</source>
        <translation>%1 [yes: --yes]</translation>
    </message>
    <message>
        <source>Nobody can answer &quot;%1&quot; without a terminal; --yes answers prompts.</source>
        <translation>Nobody can answer &quot;%1&quot; without a terminal; --yes answers prompts.</translation>
    </message>
    <message>
        <source>%1 [y/N]</source>
        <translation>%1 [y/N]</translation>
    </message>
    <message>
        <source>Result: %1</source>
        <translation>Result: %1</translation>
    </message>
    <message>
        <source>Reports: %1</source>
        <translation>Reports: %1</translation>
    </message>
    <message>
        <source>Where runs are kept: a records server (postgresql://user@host/database) or file.</source>
        <translation>Where runs are kept: a records server (postgresql://user@host/database) or file.</translation>
    </message>
    <message>
        <source>url|file</source>
        <translation>url|file</translation>
    </message>
    <message>
        <source>The run was not kept in the station&apos;s records: %1</source>
        <translation>The run was not kept in the station&apos;s records: %1</translation>
    </message>
    <message>
        <source>%1 runs wait to be sent to the records server: %2</source>
        <translation>%1 runs wait to be sent to the records server: %2</translation>
    </message>
</context>
<context>
    <name>ConfigFile</name>
    <message>
        <source>The configuration file %1 could not be read; the default settings are used.</source>
        <translation>The configuration file %1 could not be read; the default settings are used.</translation>
    </message>
    <message>
        <source>The damaged file could not be kept aside and is replaced when the program ends.</source>
        <translation>The damaged file could not be kept aside and is replaced when the program ends.</translation>
    </message>
    <message>
        <source>The damaged file was kept as %1.</source>
        <translation>The damaged file was kept as %1.</translation>
    </message>
</context>
<context>
    <name>ConfigureTools</name>
    <message>
        <source>Param Table</source>
        <translation>Param Table</translation>
    </message>
    <message>
        <source>Upload Param</source>
        <translation>Upload Param</translation>
    </message>
    <message>
        <source>Download Param</source>
        <translation>Download Param</translation>
    </message>
    <message>
        <source>Export Param</source>
        <translation>Export Param</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>Restore...</source>
        <translation>Restore...</translation>
    </message>
    <message>
        <source>Factory Reset</source>
        <translation>Factory Reset</translation>
    </message>
    <message>
        <source>Clear Alarm</source>
        <translation>Clear Alarm</translation>
    </message>
    <message>
        <source>Are you sure to upload parameters from %1 device? Current changes will be discarded.</source>
        <translation>Are you sure to upload parameters from %1 device? Current changes will be discarded.</translation>
    </message>
    <message>
        <source>Are you sure to download modified parameters to %1 device?</source>
        <translation>Are you sure to download modified parameters to %1 device?</translation>
    </message>
    <message>
        <source>Are you sure to reset %1 parameters to default factory configuration?</source>
        <translation>Are you sure to reset %1 parameters to default factory configuration?</translation>
    </message>
    <message>
        <source>The parameter table has not been read yet.</source>
        <translation>The parameter table has not been read yet.</translation>
    </message>
    <message>
        <source>Backup parameters</source>
        <translation>Backup parameters</translation>
    </message>
    <message>
        <source>Parameter backups (*.json)</source>
        <translation>Parameter backups (*.json)</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>Parameters of %1 backed up to %2</source>
        <translation>Parameters of %1 backed up to %2</translation>
    </message>
    <message>
        <source>Restore parameters</source>
        <translation>Restore parameters</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>%1 was taken from the motor with MCU ID 0x%2; this motor is 0x%3. Restore it here all the same?</source>
        <translation>%1 was taken from the motor with MCU ID 0x%2; this motor is 0x%3. Restore it here all the same?</translation>
    </message>
</context>
<context>
    <name>DetectDeviceDialog</name>
    <message>
        <source>Detect Devices</source>
        <translation>Detect Devices</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Devices Connection&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;Devices Connection&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>Module</source>
        <translation>Module</translation>
    </message>
    <message>
        <source>USB-CAN (AT Command)</source>
        <translation>USB-CAN (AT Command)</translation>
    </message>
    <message>
        <source>COM</source>
        <translation>COM</translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation>Baudrate</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Click &lt;a href=&quot;driver&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#007af4;&quot;&gt;here&lt;/span&gt;&lt;/a&gt; to install ch340 driver.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Click &lt;a href=&quot;driver&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#007af4;&quot;&gt;here&lt;/span&gt;&lt;/a&gt; to install ch340 driver.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>CAN interface</source>
        <translation>CAN interface</translation>
    </message>
    <message>
        <source>The adapter&apos;s serial port, or a CAN interface as PLUGIN:INTERFACE (socketcan:can0, virtualcan:tcp://127.0.0.1:35468/can0)</source>
        <translation>The adapter&apos;s serial port, or a CAN interface as PLUGIN:INTERFACE (socketcan:can0, virtualcan:tcp://127.0.0.1:35468/can0)</translation>
    </message>
</context>
<context>
    <name>DetectFlow</name>
    <message>
        <source>There is no link.</source>
        <translation>There is no link.</translation>
    </message>
    <message>
        <source>The adapter is not connected.</source>
        <translation>The adapter is not connected.</translation>
    </message>
    <message>
        <source>Connecting to %1</source>
        <translation>Connecting to %1</translation>
    </message>
    <message>
        <source>Cannot open %1.</source>
        <translation>Cannot open %1.</translation>
    </message>
    <message>
        <source>USB-CAN module configuration failed, please check physical device!</source>
        <translation>USB-CAN module configuration failed, please check physical device!</translation>
    </message>
    <message>
        <source>The adapter on %1 did not answer.</source>
        <translation>The adapter on %1 did not answer.</translation>
    </message>
    <message>
        <source>Detecting devices at %1</source>
        <translation>Detecting devices at %1</translation>
    </message>
    <message>
        <source>CAN ID %1 did not answer: scanning the bus.</source>
        <translation>CAN ID %1 did not answer: scanning the bus.</translation>
    </message>
    <message>
        <source>Detection timed out on %1.</source>
        <translation>Detection timed out on %1.</translation>
    </message>
    <message>
        <source>No motor answered on %1.</source>
        <translation>No motor answered on %1.</translation>
    </message>
    <message>
        <source>No motor with CAN ID %1 on %2.</source>
        <translation>No motor with CAN ID %1 on %2.</translation>
    </message>
    <message>
        <source>detecting</source>
        <translation>detecting</translation>
    </message>
</context>
<context>
    <name>DeviceInfoPage</name>
    <message>
        <source>&lt;h2&gt;Device&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;Device&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Device Name&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;Device Name&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>Z48 Motor</source>
        <translation>Z48 Motor</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Device Connection&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;Device Connection&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>CAN - Serial Port</source>
        <translation>CAN - Serial Port</translation>
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
        <translation>Change</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Product&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;Product&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Proeduct Name&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;Proeduct Name&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>Quellon</source>
        <translation>Quellon</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Product Color&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;Product Color&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Product Image&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;Product Image&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>&lt;h4&gt;T-N Feature&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;T-N Feature&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Max Load Feature&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;Max Load Feature&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>No activated device!</source>
        <translation>No activated device!</translation>
    </message>
    <message>
        <source>Device %1 CAN ID set successfully!</source>
        <translation>Device %1 CAN ID set successfully!</translation>
    </message>
    <message>
        <source>Device %1 CAN ID set failed!</source>
        <translation>Device %1 CAN ID set failed!</translation>
    </message>
    <message>
        <source>Firmware Version</source>
        <translation>Firmware Version</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Disconnected</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unknown</translation>
    </message>
</context>
<context>
    <name>DeviceList</name>
    <message>
        <source>Device</source>
        <translation>Device</translation>
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
        <translation>Connect</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Device Info</source>
        <translation>Device Info</translation>
    </message>
    <message>
        <source>Encoder Calibration</source>
        <translation>Encoder Calibration</translation>
    </message>
    <message>
        <source>Change CAN ID</source>
        <translation>Change CAN ID</translation>
    </message>
    <message>
        <source>Reset Zero Postion</source>
        <translation>Reset Zero Postion</translation>
    </message>
    <message>
        <source>Motor initialization</source>
        <translation>Motor initialization</translation>
    </message>
    <message>
        <source>Right Front 1</source>
        <translation>Right Front 1</translation>
    </message>
    <message>
        <source>Right Behind 1</source>
        <translation>Right Behind 1</translation>
    </message>
    <message>
        <source>Left Front 1</source>
        <translation>Left Front 1</translation>
    </message>
    <message>
        <source>Left Behind  1</source>
        <translation>Left Behind  1</translation>
    </message>
    <message>
        <source>Right Front 2</source>
        <translation>Right Front 2</translation>
    </message>
    <message>
        <source>Right Behind 2</source>
        <translation>Right Behind 2</translation>
    </message>
    <message>
        <source>Left Front 2</source>
        <translation>Left Front 2</translation>
    </message>
    <message>
        <source>Left Behind 2</source>
        <translation>Left Behind 2</translation>
    </message>
    <message>
        <source>No. 3</source>
        <translation>No. 3</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>Are you sure to disconnect?</source>
        <translation>Are you sure to disconnect?</translation>
    </message>
    <message>
        <source>The motor will rotate during calibration, are you sure to continue?</source>
        <translation>The motor will rotate during calibration, are you sure to continue?</translation>
    </message>
    <message>
        <source>Preparing calibration...</source>
        <translation>Preparing calibration...</translation>
    </message>
    <message>
        <source>Calibration failed!</source>
        <translation>Calibration failed!</translation>
    </message>
    <message>
        <source>Calibrating encoder...</source>
        <translation>Calibrating encoder...</translation>
    </message>
    <message>
        <source>Saving calibration result...</source>
        <translation>Saving calibration result...</translation>
    </message>
    <message>
        <source>Calibration aborted: the adapter was disconnected.</source>
        <translation>Calibration aborted: the adapter was disconnected.</translation>
    </message>
    <message>
        <source>Calibration aborted: the device was removed.</source>
        <translation>Calibration aborted: the device was removed.</translation>
    </message>
    <message>
        <source>Open Binary File</source>
        <translation>Open Binary File</translation>
    </message>
    <message>
        <source>Binary File(*.bin *.hex)</source>
        <translation>Binary File(*.bin *.hex)</translation>
    </message>
    <message>
        <source>Erasing flash...</source>
        <translation>Erasing flash...</translation>
    </message>
    <message>
        <source>Sending file... %1%</source>
        <translation>Sending file... %1%</translation>
    </message>
    <message>
        <source>%1 (MCU ID 0x%2, CAN ID %3)</source>
        <translation>%1 (MCU ID 0x%2, CAN ID %3)</translation>
    </message>
    <message>
        <source>Reconnect</source>
        <translation>Reconnect</translation>
    </message>
    <message>
        <source>Connect the last serial port again; the motors listed keep their pages.</source>
        <translation>Connect the last serial port again; the motors listed keep their pages.</translation>
    </message>
    <message>
        <source>The CAN ID to give the active motor; with &quot;auto increase&quot; on it moves to the next ID once the motor has taken this one.</source>
        <translation>The CAN ID to give the active motor; with &quot;auto increase&quot; on it moves to the next ID once the motor has taken this one.</translation>
    </message>
    <message>
        <source>Serial port %1 is not there yet: plug the adapter in again.</source>
        <translation>Serial port %1 is not there yet: plug the adapter in again.</translation>
    </message>
    <message>
        <source>Set the present position of %1 as its mechanical zero? Positions are counted from there afterwards.</source>
        <translation>Set the present position of %1 as its mechanical zero? Positions are counted from there afterwards.</translation>
    </message>
    <message>
        <source>Reading the firmware version...</source>
        <translation>Reading the firmware version...</translation>
    </message>
    <message>
        <source>Update the firmware of %1?

File: %2 (%3 bytes)
Running version: %4

Are you sure to update? This may take a while.</source>
        <translation>Update the firmware of %1?

File: %2 (%3 bytes)
Running version: %4

Are you sure to update? This may take a while.</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>Firmware update of %1 from %2 (%3 bytes), running version %4</source>
        <translation>Firmware update of %1 from %2 (%3 bytes), running version %4</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The motor did not report its firmware version after the update.</source>
        <translation>The motor did not report its firmware version after the update.</translation>
    </message>
    <message>
        <source>The firmware version is still %1: the motor may not run the new image.</source>
        <translation>The firmware version is still %1: the motor may not run the new image.</translation>
    </message>
    <message>
        <source>Firmware version: %1</source>
        <translation>Firmware version: %1</translation>
    </message>
    <message>
        <source>Firmware version: %1 (was %2)</source>
        <translation>Firmware version: %1 (was %2)</translation>
    </message>
</context>
<context>
    <name>DeviceWidget</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Tarn Motor %1</source>
        <translation>Tarn Motor %1</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Disconnected</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Manufactory</source>
        <translation>Manufactory</translation>
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
        <translation>Param</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Velocity</source>
        <translation>Velocity</translation>
    </message>
    <message>
        <source>Torque</source>
        <translation>Torque</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>No recent feedback</source>
        <translation>No recent feedback</translation>
    </message>
    <message>
        <source>No feedback yet</source>
        <translation>No feedback yet</translation>
    </message>
    <message>
        <source>Stale</source>
        <translation>Stale</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>Waiting</translation>
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
        <translation>The CH340 driver is built into the Linux kernel: there is nothing to install.

If opening the port fails with &quot;Permission denied&quot;, add your user to the dialout group and log in again:
    sudo usermod -aG dialout $USER

or give everyone access to the adapter with a udev rule:
    echo &apos;SUBSYSTEM==&quot;tty&quot;, ATTRS{idVendor}==&quot;1a86&quot;, ATTRS{idProduct}==&quot;7523&quot;, MODE=&quot;0666&quot;&apos; | sudo tee /etc/udev/rules.d/99-usb-can.rules
    sudo udevadm control --reload-rules &amp;&amp; sudo udevadm trigger

then unplug the adapter and plug it in again.</translation>
    </message>
    <message>
        <source>The driver installer could not be started.</source>
        <translation>The driver installer could not be started.</translation>
    </message>
    <message>
        <source>Serial port access on Linux</source>
        <translation>Serial port access on Linux</translation>
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
            <numerusform>&lt;p&gt;&lt;b&gt;1 motor connected.&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Open a page from the tool strip: &lt;b&gt;Device Info&lt;/b&gt; on the Device tab, &lt;b&gt;Param Table&lt;/b&gt; on the Configure tab, &lt;b&gt;Oscilloscope&lt;/b&gt; on the Analyze tab.&lt;/p&gt;</numerusform>
            <numerusform>&lt;p&gt;&lt;b&gt;%n motors connected.&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Open a page from the tool strip: &lt;b&gt;Device Info&lt;/b&gt; on the Device tab, &lt;b&gt;Param Table&lt;/b&gt; on the Configure tab, &lt;b&gt;Oscilloscope&lt;/b&gt; on the Analyze tab.&lt;/p&gt;</numerusform>
        </translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Looking for motors on the bus…&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Nothing found yet? Check the adapter&apos;s CAN wiring, the motors&apos; power and the bus termination.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Looking for motors on the bus…&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Nothing found yet? Check the adapter&apos;s CAN wiring, the motors&apos; power and the bus termination.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;No motor connected.&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Plug in the USB-CAN adapter, then choose &lt;b&gt;Connect&lt;/b&gt; on the Device tab and pick its serial port.&lt;/p&gt;&lt;p&gt;No hardware at hand? Start the simulated bench:&lt;/p&gt;&lt;p&gt;&lt;code&gt;%1&lt;/code&gt;&lt;/p&gt;&lt;p&gt;and connect to &lt;code&gt;%2&lt;/code&gt;.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;No motor connected.&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Plug in the USB-CAN adapter, then choose &lt;b&gt;Connect&lt;/b&gt; on the Device tab and pick its serial port.&lt;/p&gt;&lt;p&gt;No hardware at hand? Start the simulated bench:&lt;/p&gt;&lt;p&gt;&lt;code&gt;%1&lt;/code&gt;&lt;/p&gt;&lt;p&gt;and connect to &lt;code&gt;%2&lt;/code&gt;.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>EstopFlow</name>
    <message>
        <source>The adapter is not connected.</source>
        <translation>The adapter is not connected.</translation>
    </message>
    <message>
        <source>Motor %1 did not confirm brake mode.</source>
        <translation>Motor %1 did not confirm brake mode.</translation>
    </message>
    <message>
        <source>braking</source>
        <translation>braking</translation>
    </message>
</context>
<context>
    <name>EstopVerb</name>
    <message>
        <source>Brake the target motor at once, or every motor detected with --all.</source>
        <translation>Brake the target motor at once, or every motor detected with --all.</translation>
    </message>
    <message>
        <source>Brake every motor on the bus.</source>
        <translation>Brake every motor on the bus.</translation>
    </message>
    <message>
        <source>estop takes no arguments: %1</source>
        <translation>estop takes no arguments: %1</translation>
    </message>
    <message numerus="yes">
        <source>Braking %n motor(s)...</source>
        <translation>
            <numerusform>Braking %n motor(s)...</numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Motor %1 did not confirm brake mode.</source>
        <translation>Motor %1 did not confirm brake mode.</translation>
    </message>
</context>
<context>
    <name>FeatureChart</name>
    <message>
        <source>Torque - speed</source>
        <translation>Torque - speed</translation>
    </message>
    <message>
        <source>Speed (rpm)</source>
        <translation>Speed (rpm)</translation>
    </message>
    <message>
        <source>Torque (N·m)</source>
        <translation>Torque (N·m)</translation>
    </message>
    <message>
        <source>Peak torque</source>
        <translation>Peak torque</translation>
    </message>
    <message>
        <source>Rated torque</source>
        <translation>Rated torque</translation>
    </message>
    <message>
        <source>Maximum load over time</source>
        <translation>Maximum load over time</translation>
    </message>
    <message>
        <source>Time (s)</source>
        <translation>Time (s)</translation>
    </message>
    <message>
        <source>Load (kg at 0.1 m)</source>
        <translation>Load (kg at 0.1 m)</translation>
    </message>
    <message>
        <source>Max load</source>
        <translation>Max load</translation>
    </message>
</context>
<context>
    <name>FirmwareFlow</name>
    <message>
        <source>Enter update mode overtime!</source>
        <translation>Enter update mode overtime!</translation>
    </message>
    <message>
        <source>File contains no data!</source>
        <translation>File contains no data!</translation>
    </message>
    <message>
        <source>File size over 512KB!</source>
        <translation>File size over 512KB!</translation>
    </message>
    <message>
        <source>Sending file info failed!</source>
        <translation>Sending file info failed!</translation>
    </message>
    <message>
        <source>Erasing flash failed!</source>
        <translation>Erasing flash failed!</translation>
    </message>
    <message>
        <source>The adapter was disconnected during the update.</source>
        <translation>The adapter was disconnected during the update.</translation>
    </message>
    <message>
        <source>The motor was removed during the update.</source>
        <translation>The motor was removed during the update.</translation>
    </message>
    <message>
        <source>Update timeout!</source>
        <translation>Update timeout!</translation>
    </message>
    <message>
        <source>Update successfully!</source>
        <translation>Update successfully!</translation>
    </message>
    <message>
        <source>Update failed!</source>
        <translation>Update failed!</translation>
    </message>
    <message>
        <source>updating its firmware</source>
        <translation>updating its firmware</translation>
    </message>
</context>
<context>
    <name>FirmwareUpdate</name>
    <message>
        <source>File contains no data!</source>
        <translation>File contains no data!</translation>
    </message>
    <message>
        <source>File size over 512KB!</source>
        <translation>File size over 512KB!</translation>
    </message>
    <message>
        <source>Cannot read the file %1: %2</source>
        <translation>Cannot read the file %1: %2</translation>
    </message>
</context>
<context>
    <name>FlashVerb</name>
    <message>
        <source>Send a firmware image (.bin/.hex, at most 512 KiB) to the target motor; succeeds only
when the motor&apos;s end check accepts it. Progress (percent, packets/s, time left) on stderr.</source>
        <translation>Send a firmware image (.bin/.hex, at most 512 KiB) to the target motor; succeeds only
when the motor&apos;s end check accepts it. Progress (percent, packets/s, time left) on stderr.</translation>
    </message>
    <message>
        <source>The firmware image.</source>
        <translation>The firmware image.</translation>
    </message>
    <message>
        <source>flash expects one file.</source>
        <translation>flash expects one file.</translation>
    </message>
</context>
<context>
    <name>Flow</name>
    <message>
        <source>cancelled</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>The adapter was disconnected.</source>
        <translation>The adapter was disconnected.</translation>
    </message>
    <message>
        <source>The motor was removed.</source>
        <translation>The motor was removed.</translation>
    </message>
    <message>
        <source>Motor %1: %2</source>
        <translation>Motor %1: %2</translation>
    </message>
</context>
<context>
    <name>HelpScreens</name>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Instruction</source>
        <translation>Instruction</translation>
    </message>
</context>
<context>
    <name>HelpTools</name>
    <message>
        <source>Instruction</source>
        <translation>Instruction</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>版本 %1

编译 %2</source>
        <translation>Version %1

Built %2</translation>
    </message>
</context>
<context>
    <name>Helper</name>
    <message>
        <source>%1 Error</source>
        <translation>%1 Error</translation>
    </message>
    <message>
        <source>%1 Information</source>
        <translation>%1 Information</translation>
    </message>
    <message>
        <source>%1 Warning</source>
        <translation>%1 Warning</translation>
    </message>
    <message>
        <source>%1 Notice</source>
        <translation>%1 Notice</translation>
    </message>
    <message>
        <source>No activated device!</source>
        <translation>No activated device!</translation>
    </message>
</context>
<context>
    <name>HtmlReport</name>
    <message>
        <source>The recording cannot be drawn: %1</source>
        <translation>The recording cannot be drawn: %1</translation>
    </message>
    <message>
        <source>time (s)</source>
        <translation>time (s)</translation>
    </message>
    <message numerus="yes">
        <source>%n sample(s)</source>
        <translation>
            <numerusform>%n sample(s)</numerusform>
            <numerusform>%n sample(s)</numerusform>
        </translation>
    </message>
    <message>
        <source>Motor</source>
        <translation>Motor</translation>
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
        <translation>Model code</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>not read</source>
        <translation>not read</translation>
    </message>
    <message>
        <source>Parameter table SHA-256</source>
        <translation>Parameter table SHA-256</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Started</translation>
    </message>
    <message>
        <source>Ended</source>
        <translation>Ended</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>Plan SHA-256</source>
        <translation>Plan SHA-256</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>Tool version</source>
        <translation>Tool version</translation>
    </message>
    <message>
        <source>Run outcome</source>
        <translation>Run outcome</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>Steps</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Measurement</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Limits</source>
        <translation>Limits</translation>
    </message>
    <message>
        <source>Recording:</source>
        <translation>Recording:</translation>
    </message>
    <message numerus="yes">
        <source>Log (%n line(s))</source>
        <translation>
            <numerusform>Log (%n line(s))</numerusform>
            <numerusform>Log (%n line(s))</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>InfoVerb</name>
    <message>
        <source>Show the target&apos;s name, MCU ID, CAN ID and model code.</source>
        <translation>Show the target&apos;s name, MCU ID, CAN ID and model code.</translation>
    </message>
    <message>
        <source>info takes no arguments: %1</source>
        <translation>info takes no arguments: %1</translation>
    </message>
    <message>
        <source>Name: %1</source>
        <translation>Name: %1</translation>
    </message>
    <message>
        <source>MCU ID: 0x%1</source>
        <translation>MCU ID: 0x%1</translation>
    </message>
    <message>
        <source>CAN ID: %1</source>
        <translation>CAN ID: %1</translation>
    </message>
    <message>
        <source>Model code: %1</source>
        <translation>Model code: %1</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>The motor did not answer the model query.</source>
        <translation>The motor did not answer the model query.</translation>
    </message>
</context>
<context>
    <name>JUnitReport</name>
    <message>
        <source>Detect the motors</source>
        <translation>Detect the motors</translation>
    </message>
    <message>
        <source>No motor answered.</source>
        <translation>No motor answered.</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>--language expects one of %1, not &quot;%2&quot;.</source>
        <translation>--language expects one of %1, not &quot;%2&quot;.</translation>
    </message>
</context>
<context>
    <name>LastRunLabel</name>
    <message>
        <source>Last commissioning: &lt;b&gt;%1&lt;/b&gt; on %2 (%3, %4) &amp;nbsp; &lt;a href=&quot;history&quot;&gt;History&lt;/a&gt;</source>
        <translation>Last commissioning: &lt;b&gt;%1&lt;/b&gt; on %2 (%3, %4) &amp;nbsp; &lt;a href=&quot;history&quot;&gt;History&lt;/a&gt;</translation>
    </message>
    <message>
        <source>no plan name</source>
        <translation>no plan name</translation>
    </message>
</context>
<context>
    <name>LeftTitle</name>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>New</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>LinkCommands</name>
    <message>
        <source>Send Z48 Command %1 to CAN(%2)</source>
        <translation>Send Z48 Command %1 to CAN(%2)</translation>
    </message>
    <message>
        <source>Send Z48 Command %1 to CAN(%3): %2</source>
        <translation>Send Z48 Command %1 to CAN(%3): %2</translation>
    </message>
    <message>
        <source>break mode</source>
        <translation>break mode</translation>
    </message>
    <message>
        <source>motor mode</source>
        <translation>motor mode</translation>
    </message>
    <message>
        <source>reset mode</source>
        <translation>reset mode</translation>
    </message>
    <message>
        <source>unknown mode (%1)</source>
        <translation>unknown mode (%1)</translation>
    </message>
    <message>
        <source>CAN ID %1 is outside the range [1, 127]: command refused.</source>
        <translation>CAN ID %1 is outside the range [1, 127]: command refused.</translation>
    </message>
    <message>
        <source>can id = %1</source>
        <translation>can id = %1</translation>
    </message>
    <message>
        <source>Run mode %1 is outside the range [0, 255]: command refused.</source>
        <translation>Run mode %1 is outside the range [0, 255]: command refused.</translation>
    </message>
    <message>
        <source>Invalid object write (index %1).</source>
        <translation>Invalid object write (index %1).</translation>
    </message>
    <message>
        <source>index = %1, value = %2</source>
        <translation>index = %1, value = %2</translation>
    </message>
    <message>
        <source>Value %1 is outside the range [0, 4294967295]: command refused.</source>
        <translation>Value %1 is outside the range [0, 4294967295]: command refused.</translation>
    </message>
    <message>
        <source>speed = %1, flag = %2</source>
        <translation>speed = %1, flag = %2</translation>
    </message>
    <message>
        <source>MIT control</source>
        <translation>MIT control</translation>
    </message>
    <message>
        <source>interpolated position mode</source>
        <translation>interpolated position mode</translation>
    </message>
    <message>
        <source>velocity mode</source>
        <translation>velocity mode</translation>
    </message>
    <message>
        <source>current mode</source>
        <translation>current mode</translation>
    </message>
    <message>
        <source>zero mode</source>
        <translation>zero mode</translation>
    </message>
    <message>
        <source>position mode</source>
        <translation>position mode</translation>
    </message>
    <message>
        <source>collision detection</source>
        <translation>collision detection</translation>
    </message>
    <message>
        <source>open loop mode</source>
        <translation>open loop mode</translation>
    </message>
    <message>
        <source>Set %1 mode successfully!</source>
        <translation>Set %1 mode successfully!</translation>
    </message>
    <message>
        <source>Set %1 mode failed!</source>
        <translation>Set %1 mode failed!</translation>
    </message>
    <message>
        <source>Set the mechanical zero successfully!</source>
        <translation>Set the mechanical zero successfully!</translation>
    </message>
    <message>
        <source>&lt;Encoder calibrating&gt; Rotor angle = %1, Stator flux angle = %2, Sensor value = %3</source>
        <translation>&lt;Encoder calibrating&gt; Rotor angle = %1, Stator flux angle = %2, Sensor value = %3</translation>
    </message>
    <message>
        <source>&lt;Encoder calibration result&gt; Device: %1, Number: %2, Index: %3, Correction: %4</source>
        <translation>&lt;Encoder calibration result&gt; Device: %1, Number: %2, Index: %3, Correction: %4</translation>
    </message>
    <message>
        <source>&lt;Encoder calibration finish&gt; Device: %1, Encoder Electrical Offset: %2</source>
        <translation>&lt;Encoder calibration finish&gt; Device: %1, Encoder Electrical Offset: %2</translation>
    </message>
    <message>
        <source>Device %1 encoder calibration finish.
Encoder Electrical Offset: %2</source>
        <translation>Device %1 encoder calibration finish.
Encoder Electrical Offset: %2</translation>
    </message>
    <message>
        <source>CAN ID %1 is outside the range [0, 255]: command refused.</source>
        <translation>CAN ID %1 is outside the range [0, 255]: command refused.</translation>
    </message>
    <message>
        <source>CAN ID %1 belongs to %2 (MCU ID 0x%3): command refused.</source>
        <translation>CAN ID %1 belongs to %2 (MCU ID 0x%3): command refused.</translation>
    </message>
</context>
<context>
    <name>LinkLease</name>
    <message>
        <source>the bus is busy: %1</source>
        <translation>the bus is busy: %1</translation>
    </message>
    <message>
        <source>motor %1 is busy: %2</source>
        <translation>motor %1 is busy: %2</translation>
    </message>
</context>
<context>
    <name>LinkRunFlows</name>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
</context>
<context>
    <name>LinkSession</name>
    <message>
        <source>Serial device of the USB-CAN adapter (required).</source>
        <translation>Serial device of the USB-CAN adapter (required).</translation>
    </message>
    <message>
        <source>device</source>
        <translation>device</translation>
    </message>
    <message>
        <source>Line rate of the adapter (default: config.baud_rate).</source>
        <translation>Line rate of the adapter (default: config.baud_rate).</translation>
    </message>
    <message>
        <source>rate</source>
        <translation>rate</translation>
    </message>
    <message>
        <source>CAN ID of the target motor (default: the first one detected).</source>
        <translation>CAN ID of the target motor (default: the first one detected).</translation>
    </message>
    <message>
        <source>id</source>
        <translation>id</translation>
    </message>
    <message>
        <source>Detect every motor on the bus.</source>
        <translation>Detect every motor on the bus.</translation>
    </message>
    <message>
        <source>Machine-readable output.</source>
        <translation>Machine-readable output.</translation>
    </message>
    <message>
        <source>Invalid baud rate: %1</source>
        <translation>Invalid baud rate: %1</translation>
    </message>
    <message>
        <source>Invalid CAN ID (1..127): %1</source>
        <translation>Invalid CAN ID (1..127): %1</translation>
    </message>
    <message>
        <source>No motor with CAN ID %1 on %2.</source>
        <translation>No motor with CAN ID %1 on %2.</translation>
    </message>
    <message>
        <source>CAN interface instead of a serial adapter, as PLUGIN:INTERFACE (socketcan:can0, virtualcan:tcp://127.0.0.1:35468/can0).</source>
        <translation>CAN interface instead of a serial adapter, as PLUGIN:INTERFACE (socketcan:can0, virtualcan:tcp://127.0.0.1:35468/can0).</translation>
    </message>
    <message>
        <source>interface</source>
        <translation>interface</translation>
    </message>
    <message>
        <source>--port and --bus exclude each other.</source>
        <translation>--port and --bus exclude each other.</translation>
    </message>
    <message>
        <source>Not a CAN interface (PLUGIN:INTERFACE with one of %1): %2</source>
        <translation>Not a CAN interface (PLUGIN:INTERFACE with one of %1): %2</translation>
    </message>
    <message>
        <source>--port or --bus is required.</source>
        <translation>--port or --bus is required.</translation>
    </message>
</context>
<context>
    <name>LinkVerb</name>
    <message>
        <source>%1 expects %2 argument(s).</source>
        <translation>%1 expects %2 argument(s).</translation>
    </message>
    <message>
        <source>Not a number: %1</source>
        <translation>Not a number: %1</translation>
    </message>
    <message>
        <source>%1 expects a whole number from %2 to %3: %4</source>
        <translation>%1 expects a whole number from %2 to %3: %4</translation>
    </message>
    <message>
        <source>mode expects reset, motor or brake.</source>
        <translation>mode expects reset, motor or brake.</translation>
    </message>
    <message>
        <source>Send the value as an unsigned integer.</source>
        <translation>Send the value as an unsigned integer.</translation>
    </message>
    <message>
        <source>MCU ID: 0x%1  CAN ID: %2  model: %3</source>
        <translation>MCU ID: 0x%1  CAN ID: %2  model: %3</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unknown</translation>
    </message>
</context>
<context>
    <name>LiveValues</name>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Calibration</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>Running</translation>
    </message>
    <message>
        <source>Brake</source>
        <translation>Brake</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
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
        <translation>%1 and %2 are the same file.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>%1 frames written to %2.</source>
        <translation>%1 frames written to %2.</translation>
    </message>
    <message>
        <source>Convert a trace between candump (.log) and ASC (.asc), or print a trace file decoded with per-CAN-ID statistics. Lines that are not of the format are reported with their number and skipped.</source>
        <translation>Convert a trace between candump (.log) and ASC (.asc), or print a trace file decoded with per-CAN-ID statistics. Lines that are not of the format are reported with their number and skipped.</translation>
    </message>
    <message>
        <source>show: print only the records that match.</source>
        <translation>show: print only the records that match.</translation>
    </message>
    <message>
        <source>expr</source>
        <translation>expr</translation>
    </message>
    <message>
        <source>Machine-readable output.</source>
        <translation>Machine-readable output.</translation>
    </message>
    <message>
        <source>What to do.</source>
        <translation>What to do.</translation>
    </message>
    <message>
        <source>log expects: convert &lt;in&gt; &lt;out&gt; | show &lt;file&gt;</source>
        <translation>log expects: convert &lt;in&gt; &lt;out&gt; | show &lt;file&gt;</translation>
    </message>
</context>
<context>
    <name>ModeFlow</name>
    <message>
        <source>braking</source>
        <translation>braking</translation>
    </message>
    <message>
        <source>switching on</source>
        <translation>switching on</translation>
    </message>
    <message>
        <source>resetting</source>
        <translation>resetting</translation>
    </message>
    <message>
        <source>Motor %1 did not confirm brake mode.</source>
        <translation>Motor %1 did not confirm brake mode.</translation>
    </message>
    <message>
        <source>Motor %1 did not confirm motor mode.</source>
        <translation>Motor %1 did not confirm motor mode.</translation>
    </message>
    <message>
        <source>Motor %1 did not confirm reset mode.</source>
        <translation>Motor %1 did not confirm reset mode.</translation>
    </message>
</context>
<context>
    <name>MonitorScreens</name>
    <message>
        <source>Bus Monitor</source>
        <translation>Bus Monitor</translation>
    </message>
</context>
<context>
    <name>MonitorVerb</name>
    <message>
        <source>Print every record of the bus decoded (JSON lines with --json) until Ctrl+C or --seconds, record every frame into a candump or ASC file with --log, and print per-CAN-ID statistics on stderr at the end. Filter terms: dir=rx|tx type=NAME|NUMBER,... id=N,... and free text.</source>
        <translation>Print every record of the bus decoded (JSON lines with --json) until Ctrl+C or --seconds, record every frame into a candump or ASC file with --log, and print per-CAN-ID statistics on stderr at the end. Filter terms: dir=rx|tx type=NAME|NUMBER,... id=N,... and free text.</translation>
    </message>
    <message>
        <source>Stop after this time.</source>
        <translation>Stop after this time.</translation>
    </message>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Print only the records that match.</source>
        <translation>Print only the records that match.</translation>
    </message>
    <message>
        <source>expr</source>
        <translation>expr</translation>
    </message>
    <message>
        <source>Record every frame into this file (.asc: ASC, otherwise candump).</source>
        <translation>Record every frame into this file (.asc: ASC, otherwise candump).</translation>
    </message>
    <message>
        <source>file</source>
        <translation>file</translation>
    </message>
    <message>
        <source>Configure the adapter and listen, without detecting motors.</source>
        <translation>Configure the adapter and listen, without detecting motors.</translation>
    </message>
    <message>
        <source>monitor takes no arguments: %1</source>
        <translation>monitor takes no arguments: %1</translation>
    </message>
    <message>
        <source>--seconds expects a time above 0 and at most a week.</source>
        <translation>--seconds expects a time above 0 and at most a week.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>No motor was detected; listening all the same.</source>
        <translation>No motor was detected; listening all the same.</translation>
    </message>
    <message>
        <source>Monitoring for %1 s.</source>
        <translation>Monitoring for %1 s.</translation>
    </message>
    <message>
        <source>Monitoring; Ctrl+C ends.</source>
        <translation>Monitoring; Ctrl+C ends.</translation>
    </message>
    <message>
        <source>The link closed.</source>
        <translation>The link closed.</translation>
    </message>
    <message>
        <source>%1 lines were not printed: the terminal could not keep up.</source>
        <translation>%1 lines were not printed: the terminal could not keep up.</translation>
    </message>
    <message>
        <source>%1 records were lost by the monitor (it fell behind the bus).</source>
        <translation>%1 records were lost by the monitor (it fell behind the bus).</translation>
    </message>
    <message>
        <source>%1 frames written to %2.</source>
        <translation>%1 frames written to %2.</translation>
    </message>
    <message>
        <source>%1 records printed.</source>
        <translation>%1 records printed.</translation>
    </message>
</context>
<context>
    <name>MotionGuard</name>
    <message>
        <source>emergency stop</source>
        <translation>emergency stop</translation>
    </message>
</context>
<context>
    <name>MotorFaults</name>
    <message>
        <source>%1 fault: %2</source>
        <translation>%1 fault: %2</translation>
    </message>
    <message>
        <source>%1 warning: %2</source>
        <translation>%1 warning: %2</translation>
    </message>
    <message>
        <source>flags %1</source>
        <translation>flags %1</translation>
    </message>
    <message>
        <source>fault %1</source>
        <translation>fault %1</translation>
    </message>
    <message>
        <source>warning %1</source>
        <translation>warning %1</translation>
    </message>
</context>
<context>
    <name>MotorFrames</name>
    <message>
        <source>No motor model known yet (the value ranges are empty): %1 refused.</source>
        <translation>No motor model known yet (the value ranges are empty): %1 refused.</translation>
    </message>
    <message>
        <source>%1 %2 is outside the range [%3, %4]: command refused.</source>
        <translation>%1 %2 is outside the range [%3, %4]: command refused.</translation>
    </message>
</context>
<context>
    <name>MoveFlow</name>
    <message>
        <source>The adapter is not connected.</source>
        <translation>The adapter is not connected.</translation>
    </message>
    <message>
        <source>Motor %1 did not tell its model.</source>
        <translation>Motor %1 did not tell its model.</translation>
    </message>
    <message>
        <source>Motor %1 did not switch on.</source>
        <translation>Motor %1 did not switch on.</translation>
    </message>
    <message>
        <source>Settling</source>
        <translation>Settling</translation>
    </message>
    <message>
        <source>Motor %1 did not report its feedback.</source>
        <translation>Motor %1 did not report its feedback.</translation>
    </message>
    <message>
        <source>moving</source>
        <translation>moving</translation>
    </message>
</context>
<context>
    <name>OscilloscopePage</name>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Auto-scroll</source>
        <translation>Auto-scroll</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>Channel %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>Records: %1   Lost: %2</source>
        <translation>Records: %1   Lost: %2</translation>
    </message>
    <message>
        <source>CSV Files(*.csv)</source>
        <translation>CSV Files(*.csv)</translation>
    </message>
    <message>
        <source>Cannot export to %1: %2</source>
        <translation>Cannot export to %1: %2</translation>
    </message>
    <message>
        <source>What is shown</source>
        <translation>What is shown</translation>
    </message>
    <message>
        <source>The whole recording</source>
        <translation>The whole recording</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Disconnected</translation>
    </message>
    <message>
        <source>What is shown (%1 records)</source>
        <translation>What is shown (%1 records)</translation>
    </message>
    <message>
        <source>The whole recording (%1 records)</source>
        <translation>The whole recording (%1 records)</translation>
    </message>
    <message>
        <source>   Paused: %1 shown</source>
        <translation>   Paused: %1 shown</translation>
    </message>
    <message>
        <source>Waveform exported to %1 (%2 records)</source>
        <translation>Waveform exported to %1 (%2 records)</translation>
    </message>
</context>
<context>
    <name>Outcomes</name>
    <message>
        <source>PASS</source>
        <translation>PASS</translation>
    </message>
    <message>
        <source>MARGINAL</source>
        <translation>MARGINAL</translation>
    </message>
    <message>
        <source>SKIPPED</source>
        <translation>SKIPPED</translation>
    </message>
    <message>
        <source>FAIL</source>
        <translation>FAIL</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>ERROR</translation>
    </message>
</context>
<context>
    <name>Panel</name>
    <message>
        <source>Log</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>Communication</source>
        <translation>Communication</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Hide the panel</source>
        <translation>Hide the panel</translation>
    </message>
    <message>
        <source>yyyy/MM/dd hh:mm:ss</source>
        <translation>yyyy/MM/dd hh:mm:ss</translation>
    </message>
    <message>
        <source>communication</source>
        <translation>communication</translation>
    </message>
    <message>
        <source>log</source>
        <translation>log</translation>
    </message>
    <message>
        <source>Export %1 file</source>
        <translation>Export %1 file</translation>
    </message>
    <message>
        <source>Cannot write to %1!</source>
        <translation>Cannot write to %1!</translation>
    </message>
</context>
<context>
    <name>ParamApplyFlow</name>
    <message>
        <source>There is no motor with CAN ID %1.</source>
        <translation>There is no motor with CAN ID %1.</translation>
    </message>
    <message>
        <source>Motor %1: %2 of %3 entries written and read back</source>
        <translation>Motor %1: %2 of %3 entries written and read back</translation>
    </message>
    <message>
        <source>The parameters of motor %1 cannot be written now.</source>
        <translation>The parameters of motor %1 cannot be written now.</translation>
    </message>
    <message>
        <source>The write was not confirmed.</source>
        <translation>The write was not confirmed.</translation>
    </message>
    <message>
        <source>This build has no parameter table.</source>
        <translation>This build has no parameter table.</translation>
    </message>
    <message>
        <source>Nothing was written: %1</source>
        <translation>Nothing was written: %1</translation>
    </message>
    <message>
        <source>No motor to write to.</source>
        <translation>No motor to write to.</translation>
    </message>
    <message>
        <source>writing its parameters</source>
        <translation>writing its parameters</translation>
    </message>
</context>
<context>
    <name>ParamBackup</name>
    <message>
        <source>not a JSON object (%1)</source>
        <translation>not a JSON object (%1)</translation>
    </message>
    <message>
        <source>not a parameter backup</source>
        <translation>not a parameter backup</translation>
    </message>
    <message>
        <source>no MCU ID</source>
        <translation>no MCU ID</translation>
    </message>
    <message>
        <source>entry %1 is damaged</source>
        <translation>entry %1 is damaged</translation>
    </message>
    <message>
        <source>entry %1 appears twice</source>
        <translation>entry %1 appears twice</translation>
    </message>
    <message>
        <source>the list of entries is missing or damaged</source>
        <translation>the list of entries is missing or damaged</translation>
    </message>
</context>
<context>
    <name>ParamCompareView</name>
    <message>
        <source>Select two runs of the motor in its timeline and press Compare Parameters.</source>
        <translation>Select two runs of the motor in its timeline and press Compare Parameters.</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>(missing)</source>
        <translation>(missing)</translation>
    </message>
    <message>
        <source>%1 %2 = %3</source>
        <translation>%1 %2 = %3</translation>
    </message>
    <message>
        <source>The two parameter tables are the same.</source>
        <translation>The two parameter tables are the same.</translation>
    </message>
    <message>
        <source>No writable entry differs; %1 read-only entries do.</source>
        <translation>No writable entry differs; %1 read-only entries do.</translation>
    </message>
    <message>
        <source>%1 writable entries differ (bold), %2 other entries.</source>
        <translation>%1 writable entries differ (bold), %2 other entries.</translation>
    </message>
</context>
<context>
    <name>ParamDiff</name>
    <message>
        <source>%1 %2: %3 -&gt; %4</source>
        <translation>%1 %2: %3 -&gt; %4</translation>
    </message>
    <message>
        <source>%1 %2: only on the left (%3)</source>
        <translation>%1 %2: only on the left (%3)</translation>
    </message>
    <message>
        <source>%1 %2: only on the right (%3)</source>
        <translation>%1 %2: only on the right (%3)</translation>
    </message>
    <message>
        <source>%1: %2 (%3) became %4 (%5)</source>
        <translation>%1: %2 (%3) became %4 (%5)</translation>
    </message>
    <message>
        <source>Read-only and live entries (not counted):</source>
        <translation>Read-only and live entries (not counted):</translation>
    </message>
</context>
<context>
    <name>ParamFeature</name>
    <message>
        <source>Reload all parameters table successfully!</source>
        <translation>Reload all parameters table successfully!</translation>
    </message>
    <message>
        <source>Param saved successfully!</source>
        <translation>Param saved successfully!</translation>
    </message>
</context>
<context>
    <name>ParamReadFlow</name>
    <message>
        <source>There is no motor with CAN ID %1.</source>
        <translation>There is no motor with CAN ID %1.</translation>
    </message>
    <message>
        <source>%1 of %2 values read</source>
        <translation>%1 of %2 values read</translation>
    </message>
    <message>
        <source>The parameter table of motor %1 cannot be read now.</source>
        <translation>The parameter table of motor %1 cannot be read now.</translation>
    </message>
    <message>
        <source>The table of motor %1 could not be read reliably: %2</source>
        <translation>The table of motor %1 could not be read reliably: %2</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>no answer</translation>
    </message>
    <message>
        <source>Reading the parameter description...</source>
        <translation>Reading the parameter description...</translation>
    </message>
    <message>
        <source>The motor did not describe its parameter table.</source>
        <translation>The motor did not describe its parameter table.</translation>
    </message>
    <message>
        <source>reading its parameters</source>
        <translation>reading its parameters</translation>
    </message>
</context>
<context>
    <name>ParamRestorePlan</name>
    <message>
        <source>not on the motor</source>
        <translation>not on the motor</translation>
    </message>
    <message>
        <source>the motor has %1 (%2) here; the backup has %3 (%4)</source>
        <translation>the motor has %1 (%2) here; the backup has %3 (%4)</translation>
    </message>
    <message>
        <source>not a text of at most 16 ASCII characters</source>
        <translation>not a text of at most 16 ASCII characters</translation>
    </message>
    <message>
        <source>%1 is not a %2</source>
        <translation>%1 is not a %2</translation>
    </message>
    <message>
        <source>%1 is outside [%2, %3]</source>
        <translation>%1 is outside [%2, %3]</translation>
    </message>
    <message>
        <source>read-only on the motor</source>
        <translation>read-only on the motor</translation>
    </message>
</context>
<context>
    <name>ParamTablePage</name>
    <message>
        <source>Code</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Property</source>
        <translation>Property</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>String</source>
        <translation>String</translation>
    </message>
    <message>
        <source>R/W</source>
        <translation>R/W</translation>
    </message>
    <message>
        <source>RO</source>
        <translation>RO</translation>
    </message>
    <message>
        <source>Config</source>
        <translation>Config</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Setting</translation>
    </message>
    <message>
        <source>Addr[0x%1] modified</source>
        <translation>Addr[0x%1] modified</translation>
    </message>
    <message>
        <source>Please input ASCII charaters</source>
        <translation>Please input ASCII charaters</translation>
    </message>
    <message>
        <source>Value out of range</source>
        <translation>Value out of range</translation>
    </message>
    <message>
        <source>Excel file</source>
        <translation>Excel file</translation>
    </message>
    <message>
        <source>Excel Files(*.xlsx)</source>
        <translation>Excel Files(*.xlsx)</translation>
    </message>
    <message>
        <source>CSV Files(*.csv)</source>
        <translation>CSV Files(*.csv)</translation>
    </message>
    <message>
        <source>Exporting...</source>
        <translation>Exporting...</translation>
    </message>
    <message>
        <source>Param table export failed: %1</source>
        <translation>Param table export failed: %1</translation>
    </message>
    <message>
        <source>Param table export successfully!</source>
        <translation>Param table export successfully!</translation>
    </message>
    <message>
        <source>Param table has been exported, do you want to open it now?</source>
        <translation>Param table has been exported, do you want to open it now?</translation>
    </message>
    <message>
        <source>Disconnected: the values shown are the last ones read from the motor.</source>
        <translation>Disconnected: the values shown are the last ones read from the motor.</translation>
    </message>
    <message>
        <source>%1 already exists. Do you want to replace it?</source>
        <translation>%1 already exists. Do you want to replace it?</translation>
    </message>
    <message>
        <source>Download parameters table successfully!</source>
        <translation>Download parameters table successfully!</translation>
    </message>
    <message>
        <source>Download failed: %1</source>
        <translation>Download failed: %1</translation>
    </message>
    <message>
        <source>Not confirmed by reading back: %1</source>
        <translation>Not confirmed by reading back: %1</translation>
    </message>
    <message>
        <source>Nothing was saved in the motor&apos;s flash.</source>
        <translation>Nothing was saved in the motor&apos;s flash.</translation>
    </message>
</context>
<context>
    <name>ParamTransfer</name>
    <message>
        <source>invalid type</source>
        <translation>invalid type</translation>
    </message>
    <message>
        <source>missing type</source>
        <translation>missing type</translation>
    </message>
    <message>
        <source>missing number</source>
        <translation>missing number</translation>
    </message>
    <message>
        <source>disordered number</source>
        <translation>disordered number</translation>
    </message>
    <message>
        <source>storage overflow</source>
        <translation>storage overflow</translation>
    </message>
    <message>
        <source>frame lost</source>
        <translation>frame lost</translation>
    </message>
    <message>
        <source>type &amp; data mismatch</source>
        <translation>type &amp; data mismatch</translation>
    </message>
    <message>
        <source>write string number mismatch</source>
        <translation>write string number mismatch</translation>
    </message>
    <message>
        <source>read string number mismatch</source>
        <translation>read string number mismatch</translation>
    </message>
    <message>
        <source>write param number mismatch</source>
        <translation>write param number mismatch</translation>
    </message>
    <message>
        <source>read param number mismatch</source>
        <translation>read param number mismatch</translation>
    </message>
    <message>
        <source>Reload parameters table failed: %1</source>
        <translation>Reload parameters table failed: %1</translation>
    </message>
    <message>
        <source>/no such code</source>
        <translation>/no such code</translation>
    </message>
    <message>
        <source>/wrong type</source>
        <translation>/wrong type</translation>
    </message>
    <message>
        <source>/loss frame</source>
        <translation>/loss frame</translation>
    </message>
    <message>
        <source>/number mismatch</source>
        <translation>/number mismatch</translation>
    </message>
    <message>
        <source>Read param from </source>
        <translation>Read param from </translation>
    </message>
    <message>
        <source> failed: </source>
        <translation> failed: </translation>
    </message>
    <message>
        <source>/code mismatch</source>
        <translation>/code mismatch</translation>
    </message>
    <message>
        <source>/command mismatch</source>
        <translation>/command mismatch</translation>
    </message>
    <message>
        <source>/no such command</source>
        <translation>/no such command</translation>
    </message>
    <message>
        <source>/save failed</source>
        <translation>/save failed</translation>
    </message>
    <message>
        <source>/forbid to save</source>
        <translation>/forbid to save</translation>
    </message>
    <message>
        <source>/forbid to modify</source>
        <translation>/forbid to modify</translation>
    </message>
    <message>
        <source>/value out of range</source>
        <translation>/value out of range</translation>
    </message>
    <message>
        <source>/wrong frame</source>
        <translation>/wrong frame</translation>
    </message>
    <message>
        <source>/type error</source>
        <translation>/type error</translation>
    </message>
    <message>
        <source>/unwritable</source>
        <translation>/unwritable</translation>
    </message>
    <message>
        <source>Write param to </source>
        <translation>Write param to </translation>
    </message>
    <message>
        <source>failed: </source>
        <translation>failed: </translation>
    </message>
</context>
<context>
    <name>ParamVerifier</name>
    <message>
        <source>The adapter was disconnected.</source>
        <translation>The adapter was disconnected.</translation>
    </message>
    <message>
        <source>The motor was removed.</source>
        <translation>The motor was removed.</translation>
    </message>
    <message>
        <source>The motor was disconnected.</source>
        <translation>The motor was disconnected.</translation>
    </message>
    <message>
        <source>not written</source>
        <translation>not written</translation>
    </message>
    <message>
        <source>the motor did not answer the write</source>
        <translation>the motor did not answer the write</translation>
    </message>
    <message>
        <source>the motor did not answer the read</source>
        <translation>the motor did not answer the read</translation>
    </message>
    <message>
        <source>%1 %2 was changed by a damaged write; writing %3 back.</source>
        <translation>%1 %2 was changed by a damaged write; writing %3 back.</translation>
    </message>
    <message>
        <source>%1 %2 reads %3 instead of %4; writing it again.</source>
        <translation>%1 %2 reads %3 instead of %4; writing it again.</translation>
    </message>
    <message>
        <source>%1 %2 could not be read back; writing it again.</source>
        <translation>%1 %2 could not be read back; writing it again.</translation>
    </message>
    <message>
        <source>%1 %2 reads %3 after %4 writes of %5.</source>
        <translation>%1 %2 reads %3 after %4 writes of %5.</translation>
    </message>
    <message>
        <source>%1 %2 could not be read back.</source>
        <translation>%1 %2 could not be read back.</translation>
    </message>
    <message>
        <source>The motor did not confirm the save.</source>
        <translation>The motor did not confirm the save.</translation>
    </message>
    <message>
        <source>%1 %2 could not be read after the save.</source>
        <translation>%1 %2 could not be read after the save.</translation>
    </message>
    <message>
        <source>%1 %2 reads %3 after the save instead of %4.</source>
        <translation>%1 %2 reads %3 after the save instead of %4.</translation>
    </message>
    <message>
        <source>The motor&apos;s description of its table did not read the same twice.</source>
        <translation>The motor&apos;s description of its table did not read the same twice.</translation>
    </message>
    <message>
        <source>%1 %2 never read the same twice.</source>
        <translation>%1 %2 never read the same twice.</translation>
    </message>
</context>
<context>
    <name>ParamWalker</name>
    <message>
        <source>Upload parameters table successfully!</source>
        <translation>Upload parameters table successfully!</translation>
    </message>
    <message>
        <source>Download parameters table successfully!</source>
        <translation>Download parameters table successfully!</translation>
    </message>
</context>
<context>
    <name>ParamsVerb</name>
    <message>
        <source>set: save the value in the motor&apos;s flash.</source>
        <translation>set: save the value in the motor&apos;s flash.</translation>
    </message>
    <message>
        <source>restore: only these codes.</source>
        <translation>restore: only these codes.</translation>
    </message>
    <message>
        <source>codes</source>
        <translation>codes</translation>
    </message>
    <message>
        <source>restore: show the writes, write nothing.</source>
        <translation>restore: show the writes, write nothing.</translation>
    </message>
    <message>
        <source>restore: also entries whose name or type changed.</source>
        <translation>restore: also entries whose name or type changed.</translation>
    </message>
    <message>
        <source>params expects one of: %1</source>
        <translation>params expects one of: %1</translation>
    </message>
    <message>
        <source>Wrong number of arguments for params %1.</source>
        <translation>Wrong number of arguments for params %1.</translation>
    </message>
    <message>
        <source>Not an entry code: %1</source>
        <translation>Not an entry code: %1</translation>
    </message>
    <message>
        <source>The motor has no entry %1.</source>
        <translation>The motor has no entry %1.</translation>
    </message>
    <message>
        <source>%1 %2 is read-only.</source>
        <translation>%1 %2 is read-only.</translation>
    </message>
    <message>
        <source>Please input ASCII charaters</source>
        <translation>Please input ASCII charaters</translation>
    </message>
    <message>
        <source>Only the first 16 characters are written: %1</source>
        <translation>Only the first 16 characters are written: %1</translation>
    </message>
    <message>
        <source>Not a %1 value: %2</source>
        <translation>Not a %1 value: %2</translation>
    </message>
    <message>
        <source>Value out of range: %1 is outside [%2, %3].</source>
        <translation>Value out of range: %1 is outside [%2, %3].</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>%1 entries saved to %2.</source>
        <translation>%1 entries saved to %2.</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>Refused %1 %2: %3</source>
        <translation>Refused %1 %2: %3</translation>
    </message>
    <message>
        <source>%1 %2: %3 -&gt; %4</source>
        <translation>%1 %2: %3 -&gt; %4</translation>
    </message>
    <message>
        <source>Nothing to restore.</source>
        <translation>Nothing to restore.</translation>
    </message>
    <message>
        <source>Writing %1 entries...</source>
        <translation>Writing %1 entries...</translation>
    </message>
    <message>
        <source>Read, edit, save, back up, compare and restore a motor&apos;s parameter table.
Writes count once read back; backup and dump --verify read every value twice.
diff exits 0 when no writable entry differs and 1 when some do; with two files it needs no port.</source>
        <translation>Read, edit, save, back up, compare and restore a motor&apos;s parameter table.
Writes count once read back; backup and dump --verify read every value twice.
diff exits 0 when no writable entry differs and 1 when some do; with two files it needs no port.</translation>
    </message>
    <message>
        <source>dump: read every value a second time and compare.</source>
        <translation>dump: read every value a second time and compare.</translation>
    </message>
    <message>
        <source>Reading every value a second time...</source>
        <translation>Reading every value a second time...</translation>
    </message>
    <message>
        <source>Not confirmed: %1</source>
        <translation>Not confirmed: %1</translation>
    </message>
    <message>
        <source>Nothing was saved in the motor&apos;s flash.</source>
        <translation>Nothing was saved in the motor&apos;s flash.</translation>
    </message>
    <message>
        <source>Warning: %1 was taken from the motor with MCU ID 0x%2; this is 0x%3.</source>
        <translation>Warning: %1 was taken from the motor with MCU ID 0x%2; this is 0x%3.</translation>
    </message>
    <message>
        <source>Nothing was written: %1 entries of the backup cannot be restored.</source>
        <translation>Nothing was written: %1 entries of the backup cannot be restored.</translation>
    </message>
</context>
<context>
    <name>PdfReport</name>
    <message>
        <source>time (s)</source>
        <translation>time (s)</translation>
    </message>
    <message>
        <source>Measurement</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Limits</source>
        <translation>Limits</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>The recording cannot be drawn: %1</source>
        <translation>The recording cannot be drawn: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n sample(s)</source>
        <translation>
            <numerusform>%n sample(s)</numerusform>
            <numerusform>%n sample(s)</numerusform>
        </translation>
    </message>
    <message>
        <source>Motor</source>
        <translation>Motor</translation>
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
        <translation>Model code</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>not read</source>
        <translation>not read</translation>
    </message>
    <message>
        <source>Parameter table SHA-256</source>
        <translation>Parameter table SHA-256</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Started</translation>
    </message>
    <message>
        <source>Ended</source>
        <translation>Ended</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>Plan SHA-256</source>
        <translation>Plan SHA-256</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>Tool version</source>
        <translation>Tool version</translation>
    </message>
    <message>
        <source>Run outcome</source>
        <translation>Run outcome</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>Steps</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>page %1 of %2</source>
        <translation>page %1 of %2</translation>
    </message>
</context>
<context>
    <name>PlaceholderPage</name>
    <message>
        <source>This page is not part of this build yet.</source>
        <translation>This page is not part of this build yet.</translation>
    </message>
</context>
<context>
    <name>PlaceholderTools</name>
    <message>
        <source>The %1 tools are not part of this build yet.</source>
        <translation>The %1 tools are not part of this build yet.</translation>
    </message>
</context>
<context>
    <name>PlanReader</name>
    <message>
        <source>cannot read the plan: %1</source>
        <translation>cannot read the plan: %1</translation>
    </message>
    <message>
        <source>the plan is larger than %1 bytes; it is not a plan</source>
        <translation>the plan is larger than %1 bytes; it is not a plan</translation>
    </message>
    <message>
        <source>not valid YAML: %1</source>
        <translation>not valid YAML: %1</translation>
    </message>
    <message>
        <source>the plan is empty</source>
        <translation>the plan is empty</translation>
    </message>
    <message>
        <source>the plan</source>
        <translation>the plan</translation>
    </message>
    <message>
        <source>this plan is written for plan format %1; this version of Trivane reads format %2</source>
        <translation>this plan is written for plan format %1; this version of Trivane reads format %2</translation>
    </message>
    <message>
        <source>name must not be empty</source>
        <translation>name must not be empty</translation>
    </message>
    <message>
        <source>steps must be a list of at least one step</source>
        <translation>steps must be a list of at least one step</translation>
    </message>
    <message>
        <source>a plan has at most %1 steps</source>
        <translation>a plan has at most %1 steps</translation>
    </message>
    <message>
        <source>detect must be the first step (it finds the motors the run covers)</source>
        <translation>detect must be the first step (it finds the motors the run covers)</translation>
    </message>
    <message>
        <source>step %1</source>
        <translation>step %1</translation>
    </message>
    <message>
        <source>unknown step &quot;%1&quot;</source>
        <translation>unknown step &quot;%1&quot;</translation>
    </message>
    <message>
        <source> (steps are: %1)</source>
        <translation> (steps are: %1)</translation>
    </message>
    <message>
        <source> (did you mean &quot;%1&quot;?)</source>
        <translation> (did you mean &quot;%1&quot;?)</translation>
    </message>
    <message>
        <source>step %1 (%2)</source>
        <translation>step %1 (%2)</translation>
    </message>
    <message>
        <source>all_motors is allowed only on calibrate, params and capture steps</source>
        <translation>all_motors is allowed only on calibrate, params and capture steps</translation>
    </message>
    <message>
        <source>the limit &quot;%1&quot;</source>
        <translation>the limit &quot;%1&quot;</translation>
    </message>
    <message>
        <source>give either expect with a tolerance, or min and max, not both</source>
        <translation>give either expect with a tolerance, or min and max, not both</translation>
    </message>
    <message>
        <source>a tolerance needs &quot;expect&quot;, the value it is around</source>
        <translation>a tolerance needs &quot;expect&quot;, the value it is around</translation>
    </message>
    <message>
        <source>a tolerance in % needs an expected value other than 0</source>
        <translation>a tolerance in % needs an expected value other than 0</translation>
    </message>
    <message>
        <source>tolerance must not be negative</source>
        <translation>tolerance must not be negative</translation>
    </message>
    <message>
        <source>min (%1) is above max (%2): no value could pass</source>
        <translation>min (%1) is above max (%2): no value could pass</translation>
    </message>
    <message>
        <source>expect needs a tolerance (or give min and max)</source>
        <translation>expect needs a tolerance (or give min and max)</translation>
    </message>
    <message>
        <source>a limit needs min, max, or expect with a tolerance</source>
        <translation>a limit needs min, max, or expect with a tolerance</translation>
    </message>
    <message>
        <source>a marginal band in % needs both limits (min and max, or a tolerance)</source>
        <translation>a marginal band in % needs both limits (min and max, or a tolerance)</translation>
    </message>
    <message>
        <source>marginal must not be negative</source>
        <translation>marginal must not be negative</translation>
    </message>
    <message>
        <source>the marginal band covers the whole range: no value could pass</source>
        <translation>the marginal band covers the whole range: no value could pass</translation>
    </message>
    <message>
        <source>the check of &quot;%1&quot;</source>
        <translation>the check of &quot;%1&quot;</translation>
    </message>
    <message>
        <source>not a valid pattern: %1</source>
        <translation>not a valid pattern: %1</translation>
    </message>
    <message>
        <source>at_least needs a version such as 1.2.0, not &quot;%1&quot;</source>
        <translation>at_least needs a version such as 1.2.0, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>give one of equals, matches or at_least for &quot;%1&quot;</source>
        <translation>give one of equals, matches or at_least for &quot;%1&quot;</translation>
    </message>
    <message>
        <source>a model code</source>
        <translation>a model code</translation>
    </message>
    <message>
        <source>%1 must name at least one model code</source>
        <translation>%1 must name at least one model code</translation>
    </message>
    <message>
        <source>a prompt needs a text to show</source>
        <translation>a prompt needs a text to show</translation>
    </message>
    <message>
        <source>motors must allow at least one motor: a run never passes on an empty bus</source>
        <translation>motors must allow at least one motor: a run never passes on an empty bus</translation>
    </message>
    <message>
        <source>a bus holds at most %1 motors</source>
        <translation>a bus holds at most %1 motors</translation>
    </message>
    <message>
        <source>entries</source>
        <translation>entries</translation>
    </message>
    <message>
        <source>set-can-id needs either &quot;id&quot; or &quot;next_free&quot; (the first ID to try)</source>
        <translation>set-can-id needs either &quot;id&quot; or &quot;next_free&quot; (the first ID to try)</translation>
    </message>
    <message>
        <source>no readable firmware image at %1</source>
        <translation>no readable firmware image at %1</translation>
    </message>
    <message>
        <source>a firmware image holds 1 to %1 bytes; %2 has %3</source>
        <translation>a firmware image holds 1 to %1 bytes; %2 has %3</translation>
    </message>
    <message>
        <source>cannot use the profile %1: %2</source>
        <translation>cannot use the profile %1: %2</translation>
    </message>
    <message>
        <source>save applies to a profile; this step has none</source>
        <translation>save applies to a profile; this step has none</translation>
    </message>
    <message>
        <source>check</source>
        <translation>check</translation>
    </message>
    <message>
        <source>a params step needs a profile to apply, entries to check, or both</source>
        <translation>a params step needs a profile to apply, entries to check, or both</translation>
    </message>
    <message>
        <source>mode must be one of %1</source>
        <translation>mode must be one of %1</translation>
    </message>
    <message>
        <source>an MIT target lies within %1 .. %2 rad</source>
        <translation>an MIT target lies within %1 .. %2 rad</translation>
    </message>
    <message>
        <source>speed applies to position moves only</source>
        <translation>speed applies to position moves only</translation>
    </message>
    <message>
        <source>speed must be above 0</source>
        <translation>speed must be above 0</translation>
    </message>
    <message>
        <source>%1 applies to mit moves only</source>
        <translation>%1 applies to mit moves only</translation>
    </message>
    <message>
        <source>%1 must not be negative</source>
        <translation>%1 must not be negative</translation>
    </message>
    <message>
        <source>channels must be a list of one to eight channels</source>
        <translation>channels must be a list of one to eight channels</translation>
    </message>
    <message>
        <source>a channel</source>
        <translation>a channel</translation>
    </message>
    <message>
        <source>a channel needs a name or code</source>
        <translation>a channel needs a name or code</translation>
    </message>
    <message>
        <source>channel %1 is listed twice</source>
        <translation>channel %1 is listed twice</translation>
    </message>
    <message>
        <source>a capture holds at most %1 samples per channel (rate x duration)</source>
        <translation>a capture holds at most %1 samples per channel (rate x duration)</translation>
    </message>
    <message>
        <source>checks must be a list</source>
        <translation>checks must be a list</translation>
    </message>
    <message>
        <source>capture check %1</source>
        <translation>capture check %1</translation>
    </message>
    <message>
        <source>measure must be one of %1</source>
        <translation>measure must be one of %1</translation>
    </message>
    <message>
        <source>rms_diff needs &quot;channels&quot; with two channels</source>
        <translation>rms_diff needs &quot;channels&quot; with two channels</translation>
    </message>
    <message>
        <source>%1 is not one of this capture&apos;s channels</source>
        <translation>%1 is not one of this capture&apos;s channels</translation>
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
        <translation>Add your user to the dialout group, then log out and in again:
    sudo usermod -aG dialout $USER
or let every user open USB-CAN adapters with a udev rule:
    echo &apos;SUBSYSTEM==&quot;tty&quot;, ATTRS{idVendor}==&quot;1a86&quot;, ATTRS{idProduct}==&quot;7523&quot;, MODE=&quot;0666&quot;&apos; | sudo tee /etc/udev/rules.d/99-usb-can.rules
    sudo udevadm control --reload-rules &amp;&amp; sudo udevadm trigger</translation>
    </message>
    <message>
        <source>Permission denied opening %1: your user may not open serial ports (they belong to the dialout group), or another program is using the port.</source>
        <translation>Permission denied opening %1: your user may not open serial ports (they belong to the dialout group), or another program is using the port.</translation>
    </message>
    <message>
        <source>%1 is in use by process %2.</source>
        <translation>%1 is in use by process %2.</translation>
    </message>
</context>
<context>
    <name>ProgressLine</name>
    <message>
        <source>Erasing flash...</source>
        <translation>Erasing flash...</translation>
    </message>
    <message>
        <source>%1% %2 packets/s %3 left</source>
        <translation>%1% %2 packets/s %3 left</translation>
    </message>
</context>
<context>
    <name>ProjectFiles</name>
    <message>
        <source>Open %1 Failed! The file is unreadable or not a project; nothing was changed.</source>
        <translation>Open %1 Failed! The file is unreadable or not a project; nothing was changed.</translation>
    </message>
    <message>
        <source>Save to %1 Failed!</source>
        <translation>Save to %1 Failed!</translation>
    </message>
    <message>
        <source>Save to %1 successfully!</source>
        <translation>Save to %1 successfully!</translation>
    </message>
    <message>
        <source>New Project</source>
        <translation>New Project</translation>
    </message>
    <message>
        <source>Open Project</source>
        <translation>Open Project</translation>
    </message>
    <message>
        <source>Save Project</source>
        <translation>Save Project</translation>
    </message>
    <message>
        <source>Save as Project</source>
        <translation>Save as Project</translation>
    </message>
    <message>
        <source>Import Project</source>
        <translation>Import Project</translation>
    </message>
    <message>
        <source>Import from %1 successfully!</source>
        <translation>Import from %1 successfully!</translation>
    </message>
    <message>
        <source>Import from %1 Failed!</source>
        <translation>Import from %1 Failed!</translation>
    </message>
    <message>
        <source>Export Project</source>
        <translation>Export Project</translation>
    </message>
    <message>
        <source>Export to %1 successfully!</source>
        <translation>Export to %1 successfully!</translation>
    </message>
    <message>
        <source>Export to %1 Failed!</source>
        <translation>Export to %1 Failed!</translation>
    </message>
</context>
<context>
    <name>ReconnectFlow</name>
    <message>
        <source>There is no link.</source>
        <translation>There is no link.</translation>
    </message>
    <message numerus="yes">
        <source>Waiting up to %n second(s) for the adapter to come back.</source>
        <translation>
            <numerusform>Waiting up to %n second(s) for the adapter to come back.</numerusform>
            <numerusform>Waiting up to %n second(s) for the adapter to come back.</numerusform>
        </translation>
    </message>
    <message>
        <source>The adapter did not come back.</source>
        <translation>The adapter did not come back.</translation>
    </message>
    <message>
        <source>waiting for the adapter</source>
        <translation>waiting for the adapter</translation>
    </message>
</context>
<context>
    <name>ReconnectWatcher</name>
    <message>
        <source>Serial port %1 is back: reconnecting.</source>
        <translation>Serial port %1 is back: reconnecting.</translation>
    </message>
    <message>
        <source>CAN interface %1 is back: reconnecting.</source>
        <translation>CAN interface %1 is back: reconnecting.</translation>
    </message>
</context>
<context>
    <name>RecordsLocation</name>
    <message>
        <source>No database file named in &quot;%1&quot;.</source>
        <translation>No database file named in &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>The server address in &quot;%1&quot; is not valid.</source>
        <translation>The server address in &quot;%1&quot; is not valid.</translation>
    </message>
    <message>
        <source>The port in &quot;%1&quot; is not valid.</source>
        <translation>The port in &quot;%1&quot; is not valid.</translation>
    </message>
    <message>
        <source>The setting &quot;%1&quot; in &quot;%2&quot; is not valid.</source>
        <translation>The setting &quot;%1&quot; in &quot;%2&quot; is not valid.</translation>
    </message>
    <message>
        <source>No database named in &quot;%1&quot; (postgresql://user@host/database).</source>
        <translation>No database named in &quot;%1&quot; (postgresql://user@host/database).</translation>
    </message>
</context>
<context>
    <name>RecordsLookup</name>
    <message>
        <source>No records at %1 yet.</source>
        <translation>No records at %1 yet.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; starts more than one run (%2, ...): give more of the UUID.</source>
        <translation>&quot;%1&quot; starts more than one run (%2, ...): give more of the UUID.</translation>
    </message>
    <message>
        <source>No run %1.</source>
        <translation>No run %1.</translation>
    </message>
</context>
<context>
    <name>RecordsPage</name>
    <message>
        <source>Open Report</source>
        <translation>Open Report</translation>
    </message>
    <message>
        <source>Motor Timeline</source>
        <translation>Motor Timeline</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Search by MCU ID, or pick a motor of a run, to see its timeline.</source>
        <translation>Search by MCU ID, or pick a motor of a run, to see its timeline.</translation>
    </message>
    <message>
        <source>Compare Parameters</source>
        <translation>Compare Parameters</translation>
    </message>
    <message>
        <source>Timeline</source>
        <translation>Timeline</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>Select one of the run&apos;s motors first.</source>
        <translation>Select one of the run&apos;s motors first.</translation>
    </message>
    <message>
        <source>any</source>
        <translation>any</translation>
    </message>
    <message>
        <source>From</source>
        <translation>From</translation>
    </message>
    <message>
        <source>To</source>
        <translation>To</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Search</translation>
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
        <translation>Plan</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Not an MCU ID: %1</source>
        <translation>Not an MCU ID: %1</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Searching...</translation>
    </message>
    <message>
        <source>The newest %1 runs; narrow the search to see older ones.</source>
        <translation>The newest %1 runs; narrow the search to see older ones.</translation>
    </message>
    <message>
        <source>Runs found: %1</source>
        <translation>Runs found: %1</translation>
    </message>
    <message>
        <source>The records server cannot be reached, so only this station&apos;s runs are shown: %1</source>
        <translation>The records server cannot be reached, so only this station&apos;s runs are shown: %1</translation>
    </message>
    <message>
        <source>Motor 0x%1: reading its runs...</source>
        <translation>Motor 0x%1: reading its runs...</translation>
    </message>
    <message>
        <source>Motor 0x%1 has no recorded run.</source>
        <translation>Motor 0x%1 has no recorded run.</translation>
    </message>
    <message>
        <source>Motor 0x%1: %2 runs, newest first. Changes since the run before are highlighted; select two runs to compare their parameters.</source>
        <translation>Motor 0x%1: %2 runs, newest first. Changes since the run before are highlighted; select two runs to compare their parameters.</translation>
    </message>
    <message>
        <source>Select exactly two runs of the motor.</source>
        <translation>Select exactly two runs of the motor.</translation>
    </message>
    <message>
        <source>Reading both parameter tables...</source>
        <translation>Reading both parameter tables...</translation>
    </message>
    <message>
        <source>Run of %1: %2</source>
        <translation>Run of %1: %2</translation>
    </message>
    <message>
        <source>Select the motor whose report to open.</source>
        <translation>Select the motor whose report to open.</translation>
    </message>
    <message>
        <source>The report is in %1; no program here opens it.</source>
        <translation>The report is in %1; no program here opens it.</translation>
    </message>
</context>
<context>
    <name>RecordsSchema</name>
    <message>
        <source>The records database has schema version %1; this program knows up to version %2. It was left as it is: use a newer Trivane.</source>
        <translation>The records database has schema version %1; this program knows up to version %2. It was left as it is: use a newer Trivane.</translation>
    </message>
    <message>
        <source>Could not bring the records database to version %1: %2</source>
        <translation>Could not bring the records database to version %1: %2</translation>
    </message>
    <message>
        <source>it has a newer schema version (%1)</source>
        <translation>it has a newer schema version (%1)</translation>
    </message>
</context>
<context>
    <name>RecordsScreens</name>
    <message>
        <source>Runs cannot be sent to the records server: %1</source>
        <translation>Runs cannot be sent to the records server: %1</translation>
    </message>
    <message>
        <source>The records server can be reached again.</source>
        <translation>The records server can be reached again.</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>Records</translation>
    </message>
</context>
<context>
    <name>RecordsSettings</name>
    <message>
        <source>config.records.url: %1</source>
        <translation>config.records.url: %1</translation>
    </message>
</context>
<context>
    <name>RecordsStore</name>
    <message>
        <source>%1 (%2): %3</source>
        <translation>%1 (%2): %3</translation>
    </message>
    <message>
        <source>The records database %1 is not open.</source>
        <translation>The records database %1 is not open.</translation>
    </message>
    <message>
        <source>No records database is configured.</source>
        <translation>No records database is configured.</translation>
    </message>
    <message>
        <source>The Qt SQL driver %1 is not installed.</source>
        <translation>The Qt SQL driver %1 is not installed.</translation>
    </message>
    <message>
        <source>Cannot open the records database</source>
        <translation>Cannot open the records database</translation>
    </message>
    <message>
        <source>Cannot count the runs waiting to be sent</source>
        <translation>Cannot count the runs waiting to be sent</translation>
    </message>
    <message>
        <source>Cannot read the runs waiting to be sent</source>
        <translation>Cannot read the runs waiting to be sent</translation>
    </message>
    <message>
        <source>Cannot mark runs as sent</source>
        <translation>Cannot mark runs as sent</translation>
    </message>
    <message>
        <source>Cannot mark run %1 as sent</source>
        <translation>Cannot mark run %1 as sent</translation>
    </message>
    <message>
        <source>Cannot note the failure of run %1</source>
        <translation>Cannot note the failure of run %1</translation>
    </message>
    <message>
        <source>Run %1 cannot be read</source>
        <translation>Run %1 cannot be read</translation>
    </message>
    <message>
        <source>No run %1 in %2.</source>
        <translation>No run %1 in %2.</translation>
    </message>
    <message>
        <source>unknown outcome</source>
        <translation>unknown outcome</translation>
    </message>
    <message>
        <source>a motor row is damaged</source>
        <translation>a motor row is damaged</translation>
    </message>
    <message>
        <source>a step row is damaged</source>
        <translation>a step row is damaged</translation>
    </message>
    <message>
        <source>a measurement row is damaged</source>
        <translation>a measurement row is damaged</translation>
    </message>
    <message>
        <source>an attachment row is damaged</source>
        <translation>an attachment row is damaged</translation>
    </message>
    <message>
        <source>attachment %1 is damaged</source>
        <translation>attachment %1 is damaged</translation>
    </message>
    <message>
        <source>Cannot look the run up</source>
        <translation>Cannot look the run up</translation>
    </message>
    <message>
        <source>Cannot search the records</source>
        <translation>Cannot search the records</translation>
    </message>
    <message>
        <source>Cannot read the motor&apos;s runs</source>
        <translation>Cannot read the motor&apos;s runs</translation>
    </message>
    <message>
        <source>Cannot read the plans</source>
        <translation>Cannot read the plans</translation>
    </message>
    <message>
        <source>Cannot read the stations</source>
        <translation>Cannot read the stations</translation>
    </message>
    <message>
        <source>The run has no valid UUID (&quot;%1&quot;); it was not stored.</source>
        <translation>The run has no valid UUID (&quot;%1&quot;); it was not stored.</translation>
    </message>
    <message>
        <source>The attachment %1 is larger than %2 MiB; the run was not stored.</source>
        <translation>The attachment %1 is larger than %2 MiB; the run was not stored.</translation>
    </message>
    <message>
        <source>Cannot store runs</source>
        <translation>Cannot store runs</translation>
    </message>
    <message>
        <source>Cannot store run %1</source>
        <translation>Cannot store run %1</translation>
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
        <translation>The commissioning history: runs of the station&apos;s records.db and, with a server configured
(config.records.url or --records postgresql://user@host/database), of the whole line.
list shows the newest runs first; with --mcu-id or --can-id, --outcome is that motor&apos;s outcome.
show prints one run (a unique start of its UUID is enough); export writes its JUnit XML, or the
HTML or PDF report of one motor (--mcu-id when the run has several); sync sends the waiting runs
now and exits 0 only when none is left waiting.</translation>
    </message>
    <message>
        <source>The records server (postgresql://user@host/database) or the station&apos;s file.</source>
        <translation>The records server (postgresql://user@host/database) or the station&apos;s file.</translation>
    </message>
    <message>
        <source>url|file</source>
        <translation>url|file</translation>
    </message>
    <message>
        <source>Machine-readable output.</source>
        <translation>Machine-readable output.</translation>
    </message>
    <message>
        <source>list: runs of this motor (hexadecimal).</source>
        <translation>list: runs of this motor (hexadecimal).</translation>
    </message>
    <message>
        <source>hex</source>
        <translation>hex</translation>
    </message>
    <message>
        <source>list: runs with a motor at this CAN ID.</source>
        <translation>list: runs with a motor at this CAN ID.</translation>
    </message>
    <message>
        <source>id</source>
        <translation>id</translation>
    </message>
    <message>
        <source>list: plans whose name contains this.</source>
        <translation>list: plans whose name contains this.</translation>
    </message>
    <message>
        <source>text</source>
        <translation>text</translation>
    </message>
    <message>
        <source>list: runs of this station.</source>
        <translation>list: runs of this station.</translation>
    </message>
    <message>
        <source>name</source>
        <translation>name</translation>
    </message>
    <message>
        <source>list: pass, marginal, skipped, fail or error.</source>
        <translation>list: pass, marginal, skipped, fail or error.</translation>
    </message>
    <message>
        <source>outcome</source>
        <translation>outcome</translation>
    </message>
    <message>
        <source>list: runs started at or after this.</source>
        <translation>list: runs started at or after this.</translation>
    </message>
    <message>
        <source>date</source>
        <translation>date</translation>
    </message>
    <message>
        <source>list: runs started before this.</source>
        <translation>list: runs started before this.</translation>
    </message>
    <message>
        <source>list: at most this many runs (0: all).</source>
        <translation>list: at most this many runs (0: all).</translation>
    </message>
    <message>
        <source>n</source>
        <translation>n</translation>
    </message>
    <message>
        <source>list, show, export: this station&apos;s file only.</source>
        <translation>list, show, export: this station&apos;s file only.</translation>
    </message>
    <message>
        <source>export: one motor&apos;s HTML report.</source>
        <translation>export: one motor&apos;s HTML report.</translation>
    </message>
    <message>
        <source>export: one motor&apos;s PDF report.</source>
        <translation>export: one motor&apos;s PDF report.</translation>
    </message>
    <message>
        <source>export: the run as JUnit XML.</source>
        <translation>export: the run as JUnit XML.</translation>
    </message>
    <message>
        <source>export: write to this file, not to stdout.</source>
        <translation>export: write to this file, not to stdout.</translation>
    </message>
    <message>
        <source>file</source>
        <translation>file</translation>
    </message>
    <message>
        <source>records expects one of: %1</source>
        <translation>records expects one of: %1</translation>
    </message>
    <message>
        <source>Wrong number of arguments for records %1.</source>
        <translation>Wrong number of arguments for records %1.</translation>
    </message>
    <message>
        <source>Not an MCU ID: %1</source>
        <translation>Not an MCU ID: %1</translation>
    </message>
    <message>
        <source>Not a CAN ID: %1</source>
        <translation>Not a CAN ID: %1</translation>
    </message>
    <message>
        <source>Not an outcome: %1 (pass, marginal, skipped, fail, error)</source>
        <translation>Not an outcome: %1 (pass, marginal, skipped, fail, error)</translation>
    </message>
    <message>
        <source>Not a date: %1 (2024-05-01 or 2024-05-01T08:30)</source>
        <translation>Not a date: %1 (2024-05-01 or 2024-05-01T08:30)</translation>
    </message>
    <message>
        <source>Not a number of runs: %1</source>
        <translation>Not a number of runs: %1</translation>
    </message>
    <message>
        <source>%1
Showing this station&apos;s runs only.</source>
        <translation>%1
Showing this station&apos;s runs only.</translation>
    </message>
    <message>
        <source>* kept by this station, waiting to be sent to the server</source>
        <translation>* kept by this station, waiting to be sent to the server</translation>
    </message>
    <message>
        <source>No run matches.</source>
        <translation>No run matches.</translation>
    </message>
    <message>
        <source>More runs match: --limit raises the number shown (0 shows all).</source>
        <translation>More runs match: --limit raises the number shown (0 shows all).</translation>
    </message>
    <message>
        <source>Run %1  %2</source>
        <translation>Run %1  %2</translation>
    </message>
    <message>
        <source>Plan: %1 (%2)</source>
        <translation>Plan: %1 (%2)</translation>
    </message>
    <message>
        <source>Station: %1  Operator: %2  Trivane %3</source>
        <translation>Station: %1  Operator: %2  Trivane %3</translation>
    </message>
    <message>
        <source>Started: %1  Ended: %2</source>
        <translation>Started: %1  Ended: %2</translation>
    </message>
    <message>
        <source>Ended early: %1</source>
        <translation>Ended early: %1</translation>
    </message>
    <message>
        <source>Motor %1  CAN ID %2  model %3  firmware %4  parameters %5  %6</source>
        <translation>Motor %1  CAN ID %2  model %3  firmware %4  parameters %5  %6</translation>
    </message>
    <message>
        <source> (expected %1)</source>
        <translation> (expected %1)</translation>
    </message>
    <message>
        <source>       attachment %1 (%2, %3 bytes)</source>
        <translation>       attachment %1 (%2, %3 bytes)</translation>
    </message>
    <message>
        <source>records export needs one of --html, --pdf and --junit.</source>
        <translation>records export needs one of --html, --pdf and --junit.</translation>
    </message>
    <message>
        <source>A PDF is not for the terminal: give --out &lt;file&gt;.</source>
        <translation>A PDF is not for the terminal: give --out &lt;file&gt;.</translation>
    </message>
    <message>
        <source>Run %1 has no motor to report on; --junit reports the run.</source>
        <translation>Run %1 has no motor to report on; --junit reports the run.</translation>
    </message>
    <message>
        <source>Name one of the run&apos;s motors with --mcu-id: %1.</source>
        <translation>Name one of the run&apos;s motors with --mcu-id: %1.</translation>
    </message>
    <message>
        <source>The report of run %1 could not be made.</source>
        <translation>The report of run %1 could not be made.</translation>
    </message>
    <message>
        <source>Could not write the report to stdout.</source>
        <translation>Could not write the report to stdout.</translation>
    </message>
    <message>
        <source>Written: %1</source>
        <translation>Written: %1</translation>
    </message>
    <message>
        <source>No records server is configured: set config.records.url or give --records postgresql://user@host/database.</source>
        <translation>No records server is configured: set config.records.url or give --records postgresql://user@host/database.</translation>
    </message>
    <message>
        <source>No records at %1 yet: nothing to send.</source>
        <translation>No records at %1 yet: nothing to send.</translation>
    </message>
    <message>
        <source>Sending runs: %1/%2</source>
        <translation>Sending runs: %1/%2</translation>
    </message>
    <message>
        <source>Sent %1 runs to %2; %3 waiting to be sent.</source>
        <translation>Sent %1 runs to %2; %3 waiting to be sent.</translation>
    </message>
    <message>
        <source>%1 runs were on the server already.</source>
        <translation>%1 runs were on the server already.</translation>
    </message>
    <message>
        <source>%1 runs could not be sent; they wait for the next try.</source>
        <translation>%1 runs could not be sent; they wait for the next try.</translation>
    </message>
</context>
<context>
    <name>ReportFolder</name>
    <message>
        <source>cannot write %1: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>cannot create the report folder %1</source>
        <translation>cannot create the report folder %1</translation>
    </message>
    <message>
        <source>cannot put the report folder in place at %1</source>
        <translation>cannot put the report folder in place at %1</translation>
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
        <translation> (marginal within %1 of a limit)</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>Motor %1 (CAN ID %2)</source>
        <translation>Motor %1 (CAN ID %2)</translation>
    </message>
</context>
<context>
    <name>RestoreDialog</name>
    <message>
        <source>Restore parameters</source>
        <translation>Restore parameters</translation>
    </message>
    <message>
        <source>The motor already holds the values of %1.</source>
        <translation>The motor already holds the values of %1.</translation>
    </message>
    <message>
        <source>Entries of %1 that differ from the motor. Ticked ones are written, then saved in the motor.</source>
        <translation>Entries of %1 that differ from the motor. Ticked ones are written, then saved in the motor.</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Motor</source>
        <translation>Motor</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>%1 %2: %3</source>
        <translation>%1 %2: %3</translation>
    </message>
    <message>
        <source>Not restored:</source>
        <translation>Not restored:</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restore</translation>
    </message>
</context>
<context>
    <name>RightTitle</name>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Show pannel</source>
        <translation>Show pannel</translation>
    </message>
    <message>
        <source>Show left sidebar</source>
        <translation>Show left sidebar</translation>
    </message>
    <message>
        <source>Show right sidebar</source>
        <translation>Show right sidebar</translation>
    </message>
    <message>
        <source>Auto connect COM</source>
        <translation>Auto connect COM</translation>
    </message>
    <message>
        <source>Enable multiple devices</source>
        <translation>Enable multiple devices</translation>
    </message>
    <message>
        <source>Upload param table on connected</source>
        <translation>Upload param table on connected</translation>
    </message>
    <message>
        <source>Remove all device on disconnected</source>
        <translation>Remove all device on disconnected</translation>
    </message>
    <message>
        <source>Activate selected device</source>
        <translation>Activate selected device</translation>
    </message>
    <message>
        <source>Auto increase desired CAN ID</source>
        <translation>Auto increase desired CAN ID</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Applies at the next start</source>
        <translation>Applies at the next start</translation>
    </message>
    <message>
        <source>The interface will be in %1 from the next start of %2.</source>
        <translation>The interface will be in %1 from the next start of %2.</translation>
    </message>
</context>
<context>
    <name>RunDetailView</name>
    <message>
        <source>Item</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Limits</source>
        <translation>Limits</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>Run %1</source>
        <translation>Run %1</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Started</translation>
    </message>
    <message>
        <source>Ended</source>
        <translation>Ended</translation>
    </message>
    <message>
        <source>Trivane</source>
        <translation>Trivane</translation>
    </message>
    <message>
        <source>Ended early</source>
        <translation>Ended early</translation>
    </message>
    <message>
        <source>Motor 0x%1</source>
        <translation>Motor 0x%1</translation>
    </message>
    <message>
        <source>CAN ID %1, firmware %2</source>
        <translation>CAN ID %1, firmware %2</translation>
    </message>
    <message>
        <source>not read</source>
        <translation>not read</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 bytes</translation>
    </message>
</context>
<context>
    <name>RunParams</name>
    <message>
        <source>The run has no such motor.</source>
        <translation>The run has no such motor.</translation>
    </message>
    <message>
        <source>The parameter table of motor 0x%1 in this run cannot be read.</source>
        <translation>The parameter table of motor 0x%1 in this run cannot be read.</translation>
    </message>
    <message>
        <source>This run did not read the parameter table of motor 0x%1.</source>
        <translation>This run did not read the parameter table of motor 0x%1.</translation>
    </message>
</context>
<context>
    <name>RunTableModel</name>
    <message>
        <source> and %1 more</source>
        <translation> and %1 more</translation>
    </message>
    <message>
        <source>%1
Kept by this station, waiting to be sent</source>
        <translation>%1
Kept by this station, waiting to be sent</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Started</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Motors</source>
        <translation>Motors</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Run</translation>
    </message>
</context>
<context>
    <name>SafeStateFlow</name>
    <message>
        <source>The adapter is not connected.</source>
        <translation>The adapter is not connected.</translation>
    </message>
    <message>
        <source>Motor %1 did not confirm reset mode.</source>
        <translation>Motor %1 did not confirm reset mode.</translation>
    </message>
    <message>
        <source>resetting</source>
        <translation>resetting</translation>
    </message>
</context>
<context>
    <name>ScopeAcquisition</name>
    <message>
        <source>%1 Hz with these channels needs %2 frames/s, more than the serial line carries at %3 baud (%4 frames/s). Highest rate that fits: %5 Hz.</source>
        <translation>%1 Hz with these channels needs %2 frames/s, more than the serial line carries at %3 baud (%4 frames/s). Highest rate that fits: %5 Hz.</translation>
    </message>
    <message>
        <source>No channel selected: choose at least one channel.</source>
        <translation>No channel selected: choose at least one channel.</translation>
    </message>
    <message>
        <source>Sample rate %1 Hz is out of range (1 to 65535).</source>
        <translation>Sample rate %1 Hz is out of range (1 to 65535).</translation>
    </message>
    <message>
        <source>The scope channels are not configured.</source>
        <translation>The scope channels are not configured.</translation>
    </message>
    <message>
        <source>The motor refused the scope configuration (error bits 0x%1).</source>
        <translation>The motor refused the scope configuration (error bits 0x%1).</translation>
    </message>
</context>
<context>
    <name>ScopeControl</name>
    <message>
        <source>The oscilloscope needs a connected motor.</source>
        <translation>The oscilloscope needs a connected motor.</translation>
    </message>
    <message>
        <source>No activated device!</source>
        <translation>No activated device!</translation>
    </message>
    <message>
        <source>Cannot open the waveform file %1: %2</source>
        <translation>Cannot open the waveform file %1: %2</translation>
    </message>
</context>
<context>
    <name>ScopeFlow</name>
    <message>
        <source>This build has no scope.</source>
        <translation>This build has no scope.</translation>
    </message>
    <message>
        <source>There is no motor with CAN ID %1.</source>
        <translation>There is no motor with CAN ID %1.</translation>
    </message>
    <message>
        <source>Reading the parameter names of motor %1...</source>
        <translation>Reading the parameter names of motor %1...</translation>
    </message>
    <message>
        <source>Unknown channel %1: without the motor&apos;s parameter table channels are given by code (e.g. 0x3000).</source>
        <translation>Unknown channel %1: without the motor&apos;s parameter table channels are given by code (e.g. 0x3000).</translation>
    </message>
    <message>
        <source>Unknown channel %1.</source>
        <translation>Unknown channel %1.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>The link closed during the set-up.</source>
        <translation>The link closed during the set-up.</translation>
    </message>
    <message>
        <source>The motor did not answer the scope configuration.</source>
        <translation>The motor did not answer the scope configuration.</translation>
    </message>
    <message>
        <source>The motor refused the scope set-up.</source>
        <translation>The motor refused the scope set-up.</translation>
    </message>
    <message>
        <source>Recording %1 channel(s) of motor %2 at %3 Hz for %4 s</source>
        <translation>Recording %1 channel(s) of motor %2 at %3 Hz for %4 s</translation>
    </message>
    <message>
        <source>%1 s: %2 records, %3 lost</source>
        <translation>%1 s: %2 records, %3 lost</translation>
    </message>
    <message>
        <source>The link closed during the recording.</source>
        <translation>The link closed during the recording.</translation>
    </message>
    <message>
        <source>No record arrived from motor %1.</source>
        <translation>No record arrived from motor %1.</translation>
    </message>
    <message>
        <source>No motor to record.</source>
        <translation>No motor to record.</translation>
    </message>
    <message>
        <source>A recording takes one to eight channels.</source>
        <translation>A recording takes one to eight channels.</translation>
    </message>
    <message>
        <source>recording its oscilloscope</source>
        <translation>recording its oscilloscope</translation>
    </message>
</context>
<context>
    <name>ScopeScreens</name>
    <message>
        <source>Please open param table of %1 first!</source>
        <translation>Please open param table of %1 first!</translation>
    </message>
    <message>
        <source>Analyze</source>
        <translation>Analyze</translation>
    </message>
    <message>
        <source>Oscilloscope</source>
        <translation>Oscilloscope</translation>
    </message>
</context>
<context>
    <name>ScopeUnits</name>
    <message>
        <source>Value</source>
        <translation>Value</translation>
    </message>
</context>
<context>
    <name>ScopeVerb</name>
    <message>
        <source>Record up to eight scope channels of the target into a waveform file (or CSV with a header of channel names) and report records received and lost.</source>
        <translation>Record up to eight scope channels of the target into a waveform file (or CSV with a header of channel names) and report records received and lost.</translation>
    </message>
    <message>
        <source>Channels by parameter name or code (0x3000), comma-separated.</source>
        <translation>Channels by parameter name or code (0x3000), comma-separated.</translation>
    </message>
    <message>
        <source>list</source>
        <translation>list</translation>
    </message>
    <message>
        <source>Sample rate in Hz.</source>
        <translation>Sample rate in Hz.</translation>
    </message>
    <message>
        <source>hz</source>
        <translation>hz</translation>
    </message>
    <message>
        <source>Recording time.</source>
        <translation>Recording time.</translation>
    </message>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Output file.</source>
        <translation>Output file.</translation>
    </message>
    <message>
        <source>file</source>
        <translation>file</translation>
    </message>
    <message>
        <source>Write CSV instead of the waveform format.</source>
        <translation>Write CSV instead of the waveform format.</translation>
    </message>
    <message>
        <source>What to do (record).</source>
        <translation>What to do (record).</translation>
    </message>
    <message>
        <source>scope expects: record</source>
        <translation>scope expects: record</translation>
    </message>
    <message>
        <source>--channels expects one to eight channels.</source>
        <translation>--channels expects one to eight channels.</translation>
    </message>
    <message>
        <source>--rate expects a whole number of Hz from 1 to 65535.</source>
        <translation>--rate expects a whole number of Hz from 1 to 65535.</translation>
    </message>
    <message>
        <source>--seconds expects a time above 0 and at most a day.</source>
        <translation>--seconds expects a time above 0 and at most a day.</translation>
    </message>
    <message>
        <source>--out is required.</source>
        <translation>--out is required.</translation>
    </message>
    <message>
        <source>This build has no scope.</source>
        <translation>This build has no scope.</translation>
    </message>
    <message>
        <source>Records received: %1, lost: %2</source>
        <translation>Records received: %1, lost: %2</translation>
    </message>
    <message>
        <source>The motor did not confirm the stop.</source>
        <translation>The motor did not confirm the stop.</translation>
    </message>
    <message>
        <source>Records with a damaged time stamp: %1</source>
        <translation>Records with a damaged time stamp: %1</translation>
    </message>
    <message>
        <source>%1 was left as it was; the %2 records received are in %3.</source>
        <translation>%1 was left as it was; the %2 records received are in %3.</translation>
    </message>
    <message>
        <source> into %1</source>
        <translation> into %1</translation>
    </message>
</context>
<context>
    <name>SetCanIdFlow</name>
    <message>
        <source>The motor did not announce itself under CAN ID %1.</source>
        <translation>The motor did not announce itself under CAN ID %1.</translation>
    </message>
    <message>
        <source>changing its CAN ID</source>
        <translation>changing its CAN ID</translation>
    </message>
</context>
<context>
    <name>ShellRegistry</name>
    <message>
        <source>Motion control is not part of this build yet.</source>
        <translation>Motion control is not part of this build yet.</translation>
    </message>
</context>
<context>
    <name>Sidebar</name>
    <message>
        <source>Brake every connected motor (%1)</source>
        <translation>Brake every connected motor (%1)</translation>
    </message>
    <message>
        <source>No device</source>
        <translation>No device</translation>
    </message>
    <message>
        <source>Activate device: %1</source>
        <translation>Activate device: %1</translation>
    </message>
    <message>
        <source>Motion control is off while multiple devices are enabled.</source>
        <translation>Motion control is off while multiple devices are enabled.</translation>
    </message>
    <message>
        <source>Waiting for the motor&apos;s model reply: its set-point ranges are not known yet.</source>
        <translation>Waiting for the motor&apos;s model reply: its set-point ranges are not known yet.</translation>
    </message>
    <message>
        <source>Activated Device</source>
        <translation>Activated Device</translation>
    </message>
    <message>
        <source>EStop</source>
        <translation>EStop</translation>
    </message>
    <message>
        <source>Quick Move</source>
        <translation>Quick Move</translation>
    </message>
    <message>
        <source>Max Speed</source>
        <translation>Max Speed</translation>
    </message>
    <message>
        <source>rad/s</source>
        <translation>rad/s</translation>
    </message>
    <message>
        <source>JOG Move</source>
        <translation>JOG Move</translation>
    </message>
    <message>
        <source>Motion Control</source>
        <translation>Motion Control</translation>
    </message>
    <message>
        <source>Control Mode</source>
        <translation>Control Mode</translation>
    </message>
    <message>
        <source>MIT Control</source>
        <translation>MIT Control</translation>
    </message>
    <message>
        <source>位置模式(PP)</source>
        <translation>Position Mode (PP)</translation>
    </message>
    <message>
        <source>Velocity Mode</source>
        <translation>Velocity Mode</translation>
    </message>
    <message>
        <source>Current Mode</source>
        <translation>Current Mode</translation>
    </message>
    <message>
        <source>位置模式(CSP)</source>
        <translation>Position Mode (CSP)</translation>
    </message>
    <message>
        <source>Sin signal automated test</source>
        <translation>Sin signal automated test</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Torque (nm)</source>
        <translation>Torque (nm)</translation>
    </message>
    <message>
        <source>Position (rad)</source>
        <translation>Position (rad)</translation>
    </message>
    <message>
        <source>Velocity (rad/s)</source>
        <translation>Velocity (rad/s)</translation>
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
        <translation>Velocity Setting (rad/s)</translation>
    </message>
    <message>
        <source>加速度设置(rad/s^2)</source>
        <translation>Acceleration (rad/s^2)</translation>
    </message>
    <message>
        <source>Postion Command (rad)</source>
        <translation>Postion Command (rad)</translation>
    </message>
    <message>
        <source>Velocity Command (rad/s)</source>
        <translation>Velocity Command (rad/s)</translation>
    </message>
    <message>
        <source>加速度设置(rad/s/s)</source>
        <translation>Acceleration (rad/s/s)</translation>
    </message>
    <message>
        <source>Current Limit (A)</source>
        <translation>Current Limit (A)</translation>
    </message>
    <message>
        <source>电流指令 (A)</source>
        <translation>Current Command (A)</translation>
    </message>
    <message>
        <source>&lt;&lt; Send &gt;&gt;</source>
        <translation>&lt;&lt; Send &gt;&gt;</translation>
    </message>
    <message>
        <source>Continuously</source>
        <translation>Continuously</translation>
    </message>
    <message>
        <source>&lt;&lt; Start &gt;&gt;</source>
        <translation>&lt;&lt; Start &gt;&gt;</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>No activated device: connect a motor or choose one in the device list.</source>
        <translation>No activated device: connect a motor or choose one in the device list.</translation>
    </message>
    <message>
        <source>%1 is disconnected.</source>
        <translation>%1 is disconnected.</translation>
    </message>
    <message>
        <source>Motion control is off while multiple devices are enabled: the switch only resets the motor and JOG is unavailable.</source>
        <translation>Motion control is off while multiple devices are enabled: the switch only resets the motor and JOG is unavailable.</translation>
    </message>
    <message>
        <source>The motor is running in jog mode; switch off to reset it.</source>
        <translation>The motor is running in jog mode; switch off to reset it.</translation>
    </message>
    <message>
        <source>The motor reports that it is running, though this panel did not switch it on; switch off to reset it.</source>
        <translation>The motor reports that it is running, though this panel did not switch it on; switch off to reset it.</translation>
    </message>
    <message>
        <source>The motor reports %1 mode, not the %2 this panel switched on.</source>
        <translation>The motor reports %1 mode, not the %2 this panel switched on.</translation>
    </message>
    <message>
        <source>The motor has not confirmed its mode.</source>
        <translation>The motor has not confirmed its mode.</translation>
    </message>
    <message>
        <source>Motor State</source>
        <translation>Motor State</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Velocity</source>
        <translation>Velocity</translation>
    </message>
    <message>
        <source>Torque</source>
        <translation>Torque</translation>
    </message>
    <message>
        <source>Fault</source>
        <translation>Fault</translation>
    </message>
</context>
<context>
    <name>StationRecords</name>
    <message>
        <source>No records server is configured (config.records.url or --records postgresql://...).</source>
        <translation>No records server is configured (config.records.url or --records postgresql://...).</translation>
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
        <translation>Records</translation>
    </message>
    <message>
        <source>Rate (1/s)</source>
        <translation>Rate (1/s)</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Feedback</translation>
    </message>
    <message>
        <source>Min interval (ms)</source>
        <translation>Min interval (ms)</translation>
    </message>
    <message>
        <source>Mean interval (ms)</source>
        <translation>Mean interval (ms)</translation>
    </message>
    <message>
        <source>Max interval (ms)</source>
        <translation>Max interval (ms)</translation>
    </message>
    <message>
        <source>Last fault</source>
        <translation>Last fault</translation>
    </message>
    <message>
        <source>Last warning</source>
        <translation>Last warning</translation>
    </message>
    <message>
        <source>Not decoded</source>
        <translation>Not decoded</translation>
    </message>
    <message>
        <source>Frames per type</source>
        <translation>Frames per type</translation>
    </message>
    <message>
        <source>adapter</source>
        <translation>adapter</translation>
    </message>
</context>
<context>
    <name>StatusBar</name>
    <message>
        <source>%1 runs waiting to be sent</source>
        <translation>%1 runs waiting to be sent</translation>
    </message>
</context>
<context>
    <name>TimelineModel</name>
    <message>
        <source>not read</source>
        <translation>not read</translation>
    </message>
    <message>
        <source>The firmware changed since the run before.</source>
        <translation>The firmware changed since the run before.</translation>
    </message>
    <message>
        <source>The parameter table changed since the run before:
%1</source>
        <translation>The parameter table changed since the run before:
%1</translation>
    </message>
    <message>
        <source>CAN ID</source>
        <translation>CAN ID</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parameters</translation>
    </message>
</context>
<context>
    <name>TitleBar</name>
    <message>
        <source>Minimize</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximize</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restore</translation>
    </message>
</context>
<context>
    <name>TitleWidget</name>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ToolWidget</name>
    <message>
        <source>EStop</source>
        <translation>EStop</translation>
    </message>
</context>
<context>
    <name>TraceFileReader</name>
    <message>
        <source>unreadable date</source>
        <translation>unreadable date</translation>
    </message>
    <message>
        <source>not an event line</source>
        <translation>not an event line</translation>
    </message>
    <message>
        <source>bad identifier</source>
        <translation>bad identifier</translation>
    </message>
    <message>
        <source>no data field</source>
        <translation>no data field</translation>
    </message>
    <message>
        <source>bad length</source>
        <translation>bad length</translation>
    </message>
    <message>
        <source>more than 8 data bytes</source>
        <translation>more than 8 data bytes</translation>
    </message>
    <message>
        <source>missing data bytes</source>
        <translation>missing data bytes</translation>
    </message>
    <message>
        <source>bad data bytes</source>
        <translation>bad data bytes</translation>
    </message>
    <message>
        <source>no time stamp</source>
        <translation>no time stamp</translation>
    </message>
    <message>
        <source>bad time stamp</source>
        <translation>bad time stamp</translation>
    </message>
    <message>
        <source>no interface</source>
        <translation>no interface</translation>
    </message>
    <message>
        <source>no frame</source>
        <translation>no frame</translation>
    </message>
    <message>
        <source>unexpected text after the frame</source>
        <translation>unexpected text after the frame</translation>
    </message>
    <message>
        <source>The file holds %1 frames, more than the trace keeps: the last %2 were loaded.</source>
        <translation>The file holds %1 frames, more than the trace keeps: the last %2 were loaded.</translation>
    </message>
    <message>
        <source>%1 records ignored (%2 with 11-bit identifiers, %3 error frames, %4 others).</source>
        <translation>%1 records ignored (%2 with 11-bit identifiers, %3 error frames, %4 others).</translation>
    </message>
    <message>
        <source>%1 lines skipped as unreadable:</source>
        <translation>%1 lines skipped as unreadable:</translation>
    </message>
    <message>
        <source>... and %1 more.</source>
        <translation>... and %1 more.</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>line too long</source>
        <translation>line too long</translation>
    </message>
</context>
<context>
    <name>TraceFileWriter</name>
    <message>
        <source>the file could not be written whole</source>
        <translation>the file could not be written whole</translation>
    </message>
</context>
<context>
    <name>TraceFilter</name>
    <message>
        <source>dir= expects rx or tx: %1</source>
        <translation>dir= expects rx or tx: %1</translation>
    </message>
    <message>
        <source>Unknown type %1.</source>
        <translation>Unknown type %1.</translation>
    </message>
    <message>
        <source>id= expects CAN IDs 0..255: %1</source>
        <translation>id= expects CAN IDs 0..255: %1</translation>
    </message>
    <message>
        <source>Unknown filter term %1 (dir=, type=, id=, text=).</source>
        <translation>Unknown filter term %1 (dir=, type=, id=, text=).</translation>
    </message>
</context>
<context>
    <name>TraceModel</name>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Dir</source>
        <translation>Dir</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>From</source>
        <translation>From</translation>
    </message>
    <message>
        <source>To</source>
        <translation>To</translation>
    </message>
    <message>
        <source>Identifier</source>
        <translation>Identifier</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Decoded</source>
        <translation>Decoded</translation>
    </message>
    <message>
        <source>(no longer in the trace)</source>
        <translation>(no longer in the trace)</translation>
    </message>
</context>
<context>
    <name>TraceStatistics</name>
    <message>
        <source>CAN ID   records     rate/s  feedback interval ms (min/mean/max)  fault      failed  types</source>
        <translation>CAN ID   records     rate/s  feedback interval ms (min/mean/max)  fault      failed  types</translation>
    </message>
    <message>
        <source>adapter</source>
        <translation>adapter</translation>
    </message>
    <message>
        <source>%1 CAN IDs never answered the %2 requests sent to them.</source>
        <translation>%1 CAN IDs never answered the %2 requests sent to them.</translation>
    </message>
</context>
<context>
    <name>WorkbenchScreens</name>
    <message>
        <source>Device</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>Configure</translation>
    </message>
    <message>
        <source>Device Info</source>
        <translation>Device Info</translation>
    </message>
    <message>
        <source>Param Table</source>
        <translation>Param Table</translation>
    </message>
</context>
<context>
    <name>XmlForm</name>
    <message>
        <source>an element with more than %1 attributes at line %2</source>
        <translation>an element with more than %1 attributes at line %2</translation>
    </message>
</context>
<context>
    <name>YamlMap</name>
    <message>
        <source>%1 must be a mapping of keys and values</source>
        <translation>%1 must be a mapping of keys and values</translation>
    </message>
    <message>
        <source>keys in %1 must be plain names</source>
        <translation>keys in %1 must be plain names</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is given twice in %2 (first on line %3)</source>
        <translation>&quot;%1&quot; is given twice in %2 (first on line %3)</translation>
    </message>
    <message>
        <source>%1 needs &quot;%2&quot;</source>
        <translation>%1 needs &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1 must be true or false</source>
        <translation>%1 must be true or false</translation>
    </message>
    <message>
        <source>%1 must be a time such as 2, 0.5 s, 500 ms or 1 min</source>
        <translation>%1 must be a time such as 2, 0.5 s, 500 ms or 1 min</translation>
    </message>
    <message>
        <source>%1 must be above 0 and at most %2 s</source>
        <translation>%1 must be above 0 and at most %2 s</translation>
    </message>
    <message>
        <source>unknown key &quot;%1&quot; in %2</source>
        <translation>unknown key &quot;%1&quot; in %2</translation>
    </message>
    <message>
        <source> (did you mean &quot;%1&quot;?)</source>
        <translation> (did you mean &quot;%1&quot;?)</translation>
    </message>
    <message>
        <source> (known here: %1)</source>
        <translation> (known here: %1)</translation>
    </message>
    <message>
        <source>%1 must be a number</source>
        <translation>%1 must be a number</translation>
    </message>
    <message>
        <source>%1 must be from %2 to %3</source>
        <translation>%1 must be from %2 to %3</translation>
    </message>
    <message>
        <source>%1 must be a whole number</source>
        <translation>%1 must be a whole number</translation>
    </message>
    <message>
        <source>%1 has no value</source>
        <translation>%1 has no value</translation>
    </message>
    <message>
        <source>%1 must be text</source>
        <translation>%1 must be text</translation>
    </message>
</context>
<context>
    <name>ZeroFlow</name>
    <message>
        <source>The motor did not confirm the mechanical zero.</source>
        <translation>The motor did not confirm the mechanical zero.</translation>
    </message>
    <message>
        <source>setting the mechanical zero</source>
        <translation>setting the mechanical zero</translation>
    </message>
</context>
<context>
    <name>kx</name>
    <message>
        <source>cannot replace %1 (error %2)</source>
        <translation>cannot replace %1 (error %2)</translation>
    </message>
</context>
<context>
    <name>kx::AtomicFile</name>
    <message>
        <source>unknown error</source>
        <translation>unknown error</translation>
    </message>
    <message>
        <source>no file name</source>
        <translation>no file name</translation>
    </message>
    <message>
        <source>%1 is a directory</source>
        <translation>%1 is a directory</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 is not a regular file</translation>
    </message>
    <message>
        <source>%1 is not writable</source>
        <translation>%1 is not writable</translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation>the file is not open</translation>
    </message>
</context>
<context>
    <name>kx::ConvertCommand</name>
    <message>
        <source>invalid JSON at offset %1: %2</source>
        <translation>invalid JSON at offset %1: %2</translation>
    </message>
    <message>
        <source>invalid XML at line %1, column %2: %3</source>
        <translation>invalid XML at line %1, column %2: %3</translation>
    </message>
    <message>
        <source>not a compressed binary record (offset 0)</source>
        <translation>not a compressed binary record (offset 0)</translation>
    </message>
    <message>
        <source>damaged binary record at offset %1 of the uncompressed data</source>
        <translation>damaged binary record at offset %1 of the uncompressed data</translation>
    </message>
    <message>
        <source>unknown origin type</source>
        <translation>unknown origin type</translation>
    </message>
    <message>
        <source>convert JSON|XML|BIN JSON|XML|BIN -data=&lt;data&gt;|-path=&lt;path&gt;</source>
        <translation>convert JSON|XML|BIN JSON|XML|BIN -data=&lt;data&gt;|-path=&lt;path&gt;</translation>
    </message>
    <message>
        <source>Convert 1st type of data to 2nd type</source>
        <translation>Convert 1st type of data to 2nd type</translation>
    </message>
    <message>
        <source>origin type is same with target type</source>
        <translation>origin type is same with target type</translation>
    </message>
    <message>
        <source>unknown origin type: </source>
        <translation>unknown origin type: </translation>
    </message>
    <message>
        <source>cannot read file: </source>
        <translation>cannot read file: </translation>
    </message>
    <message>
        <source>no input: -path=&lt;path&gt; or -data=&lt;data&gt;</source>
        <translation>no input: -path=&lt;path&gt; or -data=&lt;data&gt;</translation>
    </message>
    <message>
        <source>refused XML: %1</source>
        <translation>refused XML: %1</translation>
    </message>
</context>
<context>
    <name>kx::InputFile</name>
    <message>
        <source>a directory, not a file</source>
        <translation>a directory, not a file</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>larger than %1 bytes</source>
        <translation>larger than %1 bytes</translation>
    </message>
</context>
<context>
    <name>waveDisplay</name>
    <message>
        <source>Channel %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>t = %1 s</source>
        <translation>t = %1 s</translation>
    </message>
    <message>
        <source>Time (s)</source>
        <translation>Time (s)</translation>
    </message>
</context>
</TS>
