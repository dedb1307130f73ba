<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>QtFileDialogs</name>
    <message>
        <source>该文件为只读文件，请选择其他文件。</source>
        <translation>The file is read-only. Please choose another file.</translation>
    </message>
    <message>
        <source>路径不存在，请确认。</source>
        <translation>The folder does not exist. Please check.</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
</context>
<context>
    <name>QtPrompter</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>qm</name>
    <message>
        <source>QM830K编程软件</source>
        <translation>QM830K Programming Software</translation>
    </message>
    <message>
        <source>文件错误</source>
        <translation>File Error</translation>
    </message>
    <message>
        <source>读频完成－ </source>
        <translation>Read complete - </translation>
    </message>
    <message>
        <source>写频完成－</source>
        <translation>Write complete - </translation>
    </message>
    <message>
        <source>正在调测－</source>
        <translation>Tuning - </translation>
    </message>
    <message>
        <source>打开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>信道%1：TTS %2在CSV中没有对应的信令，按无信令写出</source>
        <translation>Channel %1: TTS %2 has no signaling in the CSV format; written without signaling</translation>
    </message>
    <message>
        <source>文件中没有CSV表头（须有Location和Frequency列）</source>
        <translation>The file has no CSV header (it needs the Location and Frequency columns)</translation>
    </message>
    <message>
        <source>不是CSV表头（须有Location和Frequency列）</source>
        <translation>not a CSV header (it needs the Location and Frequency columns)</translation>
    </message>
    <message>
        <source>没有Location为%1的行</source>
        <translation>No row has Location %1</translation>
    </message>
    <message>
        <source>只有%1列，表头有%2列，已跳过</source>
        <translation>only %1 columns where the header has %2; skipped</translation>
    </message>
    <message>
        <source>%1列的数值无法识别（%2），已跳过</source>
        <translation>%1 column: value not recognised (%2); skipped</translation>
    </message>
    <message>
        <source>没有可以导入的行</source>
        <translation>No row can be imported</translation>
    </message>
    <message>
        <source>文件已经毁坏，请确认。</source>
        <translation>The file is damaged. Please check.</translation>
    </message>
    <message>
        <source>文件不存在，请确认！</source>
        <translation>The file does not exist. Please check!</translation>
    </message>
    <message>
        <source>该文件不是ZR410 的数据文件！</source>
        <translation>This is not a ZR410 data file!</translation>
    </message>
    <message>
        <source>新的数据文件，请升级你的软件版本！</source>
        <translation>The data file is from a newer version. Please upgrade the software!</translation>
    </message>
    <message>
        <source>信道.</source>
        <translation>Ch.</translation>
    </message>
    <message>
        <source>接收频率(MHz)</source>
        <translation>Receive frequency (MHz)</translation>
    </message>
    <message>
        <source>接收CTC/DCS</source>
        <translation>Receive CTCSS/DCS</translation>
    </message>
    <message>
        <source>发射频率(MHz)</source>
        <translation>Transmit frequency (MHz)</translation>
    </message>
    <message>
        <source>发射CTC/DCS</source>
        <translation>Transmit CTCSS/DCS</translation>
    </message>
    <message>
        <source>扫描 删除 /添加</source>
        <translation>Scan add/del</translation>
    </message>
    <message>
        <source>   繁忙     锁定</source>
        <translation>Busy lockout</translation>
    </message>
    <message>
        <source>   发射     功率</source>
        <translation>Transmit power</translation>
    </message>
    <message>
        <source>带宽</source>
        <translation>Bandwidth</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>禁发</source>
        <translation>Tx inhibit</translation>
    </message>
    <message>
        <source>频率超过范围！</source>
        <translation>Frequency out of range!</translation>
    </message>
    <message>
        <source>监听</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>发射限时</source>
        <translation>Time-out timer</translation>
    </message>
    <message>
        <source>提示音</source>
        <translation>Key beep</translation>
    </message>
    <message>
        <source>预告警时间</source>
        <translation>Pre-alert time</translation>
    </message>
    <message>
        <source>省电功能</source>
        <translation>Battery save</translation>
    </message>
    <message>
        <source>静噪等级</source>
        <translation>Squelch level</translation>
    </message>
    <message>
        <source>TOT再按键时间</source>
        <translation>TOT rekey time</translation>
    </message>
    <message>
        <source>TOT复位时间</source>
        <translation>TOT reset time</translation>
    </message>
    <message>
        <source>手动模式</source>
        <translation>Manual mode</translation>
    </message>
    <message>
        <source>功率选择</source>
        <translation>Tx power select (MONI key)</translation>
    </message>
    <message>
        <source>扫描模式</source>
        <translation>Scan mode</translation>
    </message>
    <message>
        <source>优先信道</source>
        <translation>Priority channel</translation>
    </message>
    <message>
        <source>回扫周期</source>
        <translation>Look-back time</translation>
    </message>
    <message>
        <source>扫描停留时间</source>
        <translation>Scan hang time</translation>
    </message>
    <message>
        <source>恢复信道</source>
        <translation>Revert channel</translation>
    </message>
    <message>
        <source>关闭监听功能</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>暂态无条件监听</source>
        <translation>Squelch off (momentary)</translation>
    </message>
    <message>
        <source>稳态无条件监听</source>
        <translation>Squelch off (latched)</translation>
    </message>
    <message>
        <source>暂态有条件监听</source>
        <translation>Monitor (tone squelch off, momentary)</translation>
    </message>
    <message>
        <source>长按[MONI]键</source>
        <translation>Long press [MONI]</translation>
    </message>
    <message>
        <source>%1秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>10分钟</source>
        <translation>10 min</translation>
    </message>
    <message>
        <source>无限制</source>
        <translation>Unlimited</translation>
    </message>
    <message>
        <source>宽带</source>
        <translation>Wide</translation>
    </message>
    <message>
        <source>窄带</source>
        <translation>Narrow</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>短按[MONI]键</source>
        <translation>Short press [MONI]</translation>
    </message>
    <message>
        <source>载波</source>
        <translation>Carrier</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>信道%1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>最近接收呼叫信道</source>
        <translation>Last call received</translation>
    </message>
    <message>
        <source>最近使用信道</source>
        <translation>Last used channel</translation>
    </message>
    <message>
        <source>第一个扫描信道</source>
        <translation>First scan channel</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>接收频率</source>
        <translation>Receive frequency</translation>
    </message>
    <message>
        <source>发射频率</source>
        <translation>Transmit frequency</translation>
    </message>
    <message>
        <source>扫描</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>繁忙锁定</source>
        <translation>Busy lockout</translation>
    </message>
    <message>
        <source>发射功率</source>
        <translation>Transmit power</translation>
    </message>
    <message>
        <source>高</source>
        <translation>High</translation>
    </message>
    <message>
        <source>低</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>(错误)</source>
        <translation>(error)</translation>
    </message>
    <message>
        <source>%1 (错误)</source>
        <translation>%1 (error)</translation>
    </message>
    <message>
        <source>整机功能</source>
        <translation>Radio functions</translation>
    </message>
    <message>
        <source>调测信道%1</source>
        <translation>Tune channel %1</translation>
    </message>
    <message>
        <source>接收步进</source>
        <translation>Receive step</translation>
    </message>
    <message>
        <source>发射步进</source>
        <translation>Transmit step</translation>
    </message>
    <message>
        <source>调整项</source>
        <translation>Tune items</translation>
    </message>
    <message>
        <source>内嵌信息</source>
        <translation>Embedded information</translation>
    </message>
    <message>
        <source>用户信息</source>
        <translation>User information</translation>
    </message>
    <message>
        <source>写频日期</source>
        <translation>Write date</translation>
    </message>
    <message>
        <source>电台ID</source>
        <translation>Radio ID</translation>
    </message>
    <message>
        <source>识别码</source>
        <translation>Identification</translation>
    </message>
    <message>
        <source>机型代码</source>
        <translation>Model code</translation>
    </message>
    <message>
        <source>附加块+%1</source>
        <translation>Spare block +%1</translation>
    </message>
    <message>
        <source>%1 没有响应, 请检查你的连接或机型电源是否打开！</source>
        <translation>%1 does not answer. Please check the cable and that the radio is switched on!</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>读取数据错误，请重试！</source>
        <translation>Error reading the data. Please try again!</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>读取数据完成，请按“确定”按钮继续.....</source>
        <translation>Data read.</translation>
    </message>
    <message>
        <source>%1 没有响应，请检查你的连接！</source>
        <translation>%1 does not answer. Please check the cable!</translation>
    </message>
    <message>
        <source>写入数据中断，请重试！</source>
        <translation>Writing the data was interrupted. Please try again!</translation>
    </message>
    <message>
        <source>写入数据完成，请按“确定”按钮继续.....</source>
        <translation>Data written.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>机型错误，请写入正确机型！</source>
        <translation>The radio reports an unknown model code. Please write the right model into it!</translation>
    </message>
    <message>
        <source>通讯端口错误</source>
        <translation>Port Error</translation>
    </message>
    <message>
        <source>机型错误</source>
        <translation>Wrong Model</translation>
    </message>
    <message>
        <source>机型与软件不匹配，请选择正确的机型！</source>
        <translation>The radio does not match this software. Please choose the right model!</translation>
    </message>
    <message>
        <source>正在从对讲机读取数据.....</source>
        <translation>Reading data from the radio.....</translation>
    </message>
    <message>
        <source>读频</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>读频错误</source>
        <translation>Read Error</translation>
    </message>
    <message>
        <source>读频中断，请重试！</source>
        <translation>Read interrupted. Please try again!</translation>
    </message>
    <message>
        <source>数据错误</source>
        <translation>Data Error</translation>
    </message>
    <message>
        <source>读频完成，请按“确定”按钮继续....</source>
        <translation>Read complete.</translation>
    </message>
    <message>
        <source>读频完成。该机为V1.0版，某些功能无效，详情请查看帮助文件！</source>
        <translation>Read complete. This is a V1.0 radio: some functions do not work on it (see the help).</translation>
    </message>
    <message>
        <source>新的机型版本,请升级你的写频软件!</source>
        <translation>The radio is of a newer version. Please upgrade the programming software!</translation>
    </message>
    <message>
        <source>正在校验对讲机数据....</source>
        <translation>Verifying the radio&apos;s data....</translation>
    </message>
    <message>
        <source>校验</source>
        <translation>Verify</translation>
    </message>
    <message>
        <source>校验错误</source>
        <translation>Verify Error</translation>
    </message>
    <message>
        <source>校验中断（地址 %1），请重试！</source>
        <translation>Verify interrupted (address %1). Please try again!</translation>
    </message>
    <message>
        <source>校验读回的数据错误（地址 %1），请重试！</source>
        <translation>The data read back for the verify is damaged (address %1). Please try again!</translation>
    </message>
    <message>
        <source>写频校验失败，对讲机中的数据与写入的不同：</source>
        <translation>Verify failed: the radio&apos;s data differs from what was written:</translation>
    </message>
    <message>
        <source>……共%1处</source>
        <translation>... %1 differences in all</translation>
    </message>
    <message>
        <source>备份时读频失败</source>
        <translation>The read for the backup failed</translation>
    </message>
    <message>
        <source>备份文件无法保存 (%1)</source>
        <translation>The backup file cannot be saved (%1)</translation>
    </message>
    <message>
        <source>备份错误</source>
        <translation>Backup Error</translation>
    </message>
    <message>
        <source>写频错误</source>
        <translation>Write Error</translation>
    </message>
    <message>
        <source>备份没有完成，没有写频。</source>
        <translation>The backup did not complete; nothing was written.</translation>
    </message>
    <message>
        <source>写频完成</source>
        <translation>Write Complete</translation>
    </message>
    <message>
        <source>写频完成，回读校验无误，请按“确定”按钮继续.....</source>
        <translation>Write complete and verified.</translation>
    </message>
    <message>
        <source>选择的机型与当前机型不同 是否要继续？</source>
        <translation>The chosen model differs from the radio&apos;s model. Continue?</translation>
    </message>
    <message>
        <source>正在向对讲机写入数据....</source>
        <translation>Writing data to the radio....</translation>
    </message>
    <message>
        <source>写频</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>写频错误，请重新写入！</source>
        <translation>Write error. Please write again!</translation>
    </message>
    <message>
        <source>写频中断，请重试！</source>
        <translation>Write interrupted. Please try again!</translation>
    </message>
    <message>
        <source>写频完成，请按“确定”按钮继续.....</source>
        <translation>Write complete.</translation>
    </message>
    <message>
        <source>调整频率设置</source>
        <translation>Tune frequencies</translation>
    </message>
    <message>
        <source>电池低压电平</source>
        <translation>Battery level</translation>
    </message>
    <message>
        <source>第9级静噪电平</source>
        <translation>Squelch level 9</translation>
    </message>
    <message>
        <source>第3级静噪电平</source>
        <translation>Squelch level 3</translation>
    </message>
    <message>
        <source>CTC 频偏(宽带)</source>
        <translation>CTCSS deviation (wide)</translation>
    </message>
    <message>
        <source>DCS 频偏(宽带)</source>
        <translation>DCS deviation (wide)</translation>
    </message>
    <message>
        <source>CTC 频偏(窄带)</source>
        <translation>CTCSS deviation (narrow)</translation>
    </message>
    <message>
        <source>DCS 频偏(窄带)</source>
        <translation>DCS deviation (narrow)</translation>
    </message>
    <message>
        <source>退出调测</source>
        <translation>Leave tune mode</translation>
    </message>
    <message>
        <source>调测错误</source>
        <translation>Tune Error</translation>
    </message>
    <message>
        <source>连接中断，请重试！</source>
        <translation>The link was interrupted. Please try again!</translation>
    </message>
    <message>
        <source>正在进入调测模式，请等待.....</source>
        <translation>Entering tune mode, please wait.....</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>调测中断，请重新进入！</source>
        <translation>Tune mode interrupted. Please enter it again!</translation>
    </message>
    <message>
        <source>调测错误，请重试！</source>
        <translation>Tune error. Please try again!</translation>
    </message>
    <message>
        <source>正在向对讲机写入调测数据.....</source>
        <translation>Writing the tune data to the radio.....</translation>
    </message>
    <message>
        <source>写入错误</source>
        <translation>Write Error</translation>
    </message>
    <message>
        <source>电池低电压电平</source>
        <translation>Battery level</translation>
    </message>
    <message>
        <source>CTC频偏(宽带)</source>
        <translation>CTCSS deviation (wide)</translation>
    </message>
    <message>
        <source>DCS频偏(宽带)</source>
        <translation>DCS deviation (wide)</translation>
    </message>
    <message>
        <source>CTC频偏(窄带)</source>
        <translation>CTCSS deviation (narrow)</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>剪贴板中没有信道数据，没有粘贴。</source>
        <translation>The clipboard holds no channel data; nothing pasted.</translation>
    </message>
    <message>
        <source>剪贴板中的文字不是信道数据，没有粘贴。</source>
        <translation>The text on the clipboard is not channel data; nothing pasted.</translation>
    </message>
    <message>
        <source>CTC数据无效！</source>
        <translation>Invalid CTCSS tone!</translation>
    </message>
    <message>
        <source>DCS 数据无效！</source>
        <translation>Invalid DCS code!</translation>
    </message>
    <message>
        <source>无法识别的信令（%1）</source>
        <translation>signaling not recognised (%1)</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>起始频率无法识别（%1）</source>
        <translation>start frequency not recognised (%1)</translation>
    </message>
    <message>
        <source>步进无法识别（%1）</source>
        <translation>step not recognised (%1)</translation>
    </message>
    <message>
        <source>批量修改</source>
        <translation>Bulk Edit</translation>
    </message>
    <message>
        <source>%1已关闭，没有修改</source>
        <translation>%1 is off; not changed</translation>
    </message>
    <message>
        <source>%1：%2（%3 MHz），频率没有修改</source>
        <translation>%1: %2 (%3 MHz); frequency not changed</translation>
    </message>
    <message>
        <source>%1：整机带宽为窄带，信道带宽没有修改</source>
        <translation>%1: the radio-wide bandwidth is narrow; channel bandwidth not changed</translation>
    </message>
    <message>
        <source>%1禁发，发射设置没有修改</source>
        <translation>%1 is Tx inhibited; transmit settings not changed</translation>
    </message>
    <message>
        <source>关闭%1</source>
        <translation>Switch %1 off</translation>
    </message>
    <message>
        <source>打开%1</source>
        <translation>Switch %1 on</translation>
    </message>
    <message>
        <source>修改%1禁发</source>
        <translation>%1: Tx inhibit</translation>
    </message>
    <message>
        <source>修改%1%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>导入CSV</source>
        <translation>Import CSV</translation>
    </message>
    <message>
        <source>步进%1 kHz不是6.25 kHz的整数倍，本机的信道频率无法按此步进等距排列</source>
        <translation>a step of %1 kHz is not a multiple of 6.25 kHz; the radio&apos;s channel frequencies cannot be spaced evenly at this step</translation>
    </message>
    <message>
        <source>步进%1 kHz不是5 kHz或6.25 kHz的整数倍，本机的信道频率无法按此步进等距排列</source>
        <translation>a step of %1 kHz is not a multiple of 5 kHz or 6.25 kHz; the radio&apos;s channel frequencies cannot be spaced evenly at this step</translation>
    </message>
    <message>
        <source>%1：%2 MHz不在本机的频率栅格上，改为%3 MHz</source>
        <translation>%1: %2 MHz is not on the radio&apos;s channel raster; changed to %3 MHz</translation>
    </message>
    <message>
        <source>信道号无法识别（%1），应为1-16</source>
        <translation>channel numbers not recognised (%1); they must be 1-16</translation>
    </message>
    <message>
        <source>信道列表中有空项（%1）</source>
        <translation>the channel list has an empty item (%1)</translation>
    </message>
    <message>
        <source>信道范围%1是倒序的，应写成%2-%3</source>
        <translation>the channel range %1 is reversed; write it as %2-%3</translation>
    </message>
    <message>
        <source>剪贴板中没有一行在本机频率范围%1-%2 MHz之内，没有粘贴。</source>
        <translation>No row on the clipboard fits this radio&apos;s band %1-%2 MHz; nothing pasted.</translation>
    </message>
    <message>
        <source>剪贴板中没有可以粘贴的行，没有粘贴。</source>
        <translation>No row on the clipboard can be pasted; nothing pasted.</translation>
    </message>
    <message>
        <source>不是信道数据，已跳过</source>
        <translation>not channel data; skipped</translation>
    </message>
    <message>
        <source>没有填写起始频率</source>
        <translation>No start frequency given</translation>
    </message>
    <message>
        <source>没有填写步进</source>
        <translation>No step given</translation>
    </message>
    <message numerus="yes">
        <source>还有%n个信道没有粘贴：信道16之后没有信道</source>
        <translation>
            <numerusform>%n more channel was not pasted: there is no channel after channel 16</numerusform>
            <numerusform>%n more channels were not pasted: there is no channel after channel 16</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>第%1行起的%n行未导入：本机只有16个信道</source>
        <translation>
            <numerusform>The row at line %1 was not imported: the radio has only 16 channels</numerusform>
            <numerusform>%n rows from line %1 on were not imported: the radio has only 16 channels</numerusform>
        </translation>
    </message>
    <message>
        <source>名单第%1行：缺少用户信息</source>
        <translation>Roster line %1: the user text is missing</translation>
    </message>
    <message>
        <source>名单第%1行：用户信息超过%2个字符</source>
        <translation>Roster line %1: the user text is longer than %2 characters</translation>
    </message>
    <message>
        <source>名单中没有对讲机</source>
        <translation>The roster lists no radio</translation>
    </message>
    <message>
        <source>名单文件无法读取：%1</source>
        <translation>The roster cannot be read: %1</translation>
    </message>
    <message>
        <source>端口错误</source>
        <translation>port error</translation>
    </message>
    <message>
        <source>无响应</source>
        <translation>no answer</translation>
    </message>
    <message>
        <source>用户信息写入失败</source>
        <translation>User text not written</translation>
    </message>
    <message>
        <source>系统无法启动这个设备（代码 %1）</source>
        <translation>the system cannot start this device (Code %1)</translation>
    </message>
    <message>
        <source>没有这个设备</source>
        <translation>no such device</translation>
    </message>
    <message>
        <source>设备不存在</source>
        <translation>the device is not there</translation>
    </message>
    <message>
        <source>没有权限</source>
        <translation>no permission</translation>
    </message>
    <message>
        <source>设备正被另一个程序占用</source>
        <translation>the device is in use by another program</translation>
    </message>
    <message>
        <source>驱动程序报告输入/输出错误</source>
        <translation>the driver reports an input/output error</translation>
    </message>
    <message>
        <source>端口打不开</source>
        <translation>the port cannot be opened</translation>
    </message>
    <message>
        <source>%1: 对讲机已应答：%2，版本 %3。连接正常。</source>
        <translation>%1: a radio answers: %2, version %3. The connection works.</translation>
    </message>
    <message>
        <source>%1: 没有这个端口。请插好写频线；插好后仍没有，请装上写频线芯片的驱动（CH340/CH341、PL2303、CP210x 或 FTDI）。</source>
        <translation>%1: no such port. Plug the programming cable in; if the port is still missing, install the driver of the cable&apos;s chip (CH340/CH341, PL2303, CP210x or FTDI).</translation>
    </message>
    <message>
        <source>%1: 端口被另一个程序占用。请关闭那个程序后再试。</source>
        <translation>%1: the port is taken by another program. Close that program and try again.</translation>
    </message>
    <message>
        <source>%1: 没有打开这个端口的权限。请安装本软件的 udev 规则，或把用户加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录。</source>
        <translation>%1: no permission to open this port. Install this program&apos;s udev rule, or add yourself to the dialout group (sudo usermod -aG dialout $USER) and log in again.</translation>
    </message>
    <message>
        <source>%1: 驱动程序拒绝了这个设备（%2）。PL2303 仿制芯片请改装较早版本的 PL2303 驱动；其他芯片请重装驱动或换一个 USB 口。</source>
        <translation>%1: the driver refuses the device (%2). For a PL2303 clone chip install an older PL2303 driver; for other chips reinstall the driver or use another USB socket.</translation>
    </message>
    <message>
        <source>%1: 端口打不开（%2）。请换一个端口或重新插上写频线。</source>
        <translation>%1: the port cannot be opened (%2). Choose another port or plug the cable in again.</translation>
    </message>
    <message>
        <source>%1: 端口已打开，但没有应答。请打开对讲机电源，把写频线插头插到底，或选另一个端口。</source>
        <translation>%1: the port opens but nothing answers. Switch the radio on, push the cable&apos;s plug fully in, or choose another port.</translation>
    </message>
    <message>
        <source>%1: 写频线把发出的每个字节原样送回，对讲机没有应答。这条线是为别的对讲机接的，请换用本机的写频线。</source>
        <translation>%1: the cable sends every byte back and no radio answers. The cable is wired for another radio; use this radio&apos;s programming cable.</translation>
    </message>
    <message>
        <source>文本形式的数据文件 (*.toml)</source>
        <translation>Data files as text (*.toml)</translation>
    </message>
    <message>
        <source>文字</source>
        <translation>text</translation>
    </message>
    <message>
        <source>整数</source>
        <translation>an integer</translation>
    </message>
    <message>
        <source>true 或 false</source>
        <translation>true or false</translation>
    </message>
    <message>
        <source>数</source>
        <translation>a number</translation>
    </message>
    <message>
        <source>应为%1个ASCII字符</source>
        <translation>expected %1 ASCII characters</translation>
    </message>
    <message>
        <source>不是UTF-8文字</source>
        <translation>not UTF-8 text</translation>
    </message>
    <message>
        <source>不是TOML文字：%1</source>
        <translation>not TOML text: %1</translation>
    </message>
    <message>
        <source>第%1行：%2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>第%1行，%2：%3</source>
        <translation>Line %1, %2: %3</translation>
    </message>
    <message>
        <source>文件太大，不是文本形式的数据文件</source>
        <translation>the file is too large to be a data file as text</translation>
    </message>
    <message>
        <source>引号之外只能用ASCII字符</source>
        <translation>only ASCII characters outside quotes</translation>
    </message>
    <message>
        <source>不能使用私用区字符U+E000到U+%1</source>
        <translation>private use characters U+E000 to U+%1 cannot be used</translation>
    </message>
    <message>
        <source>%1: 收到的数据不是本机的协议。可能接的是别的对讲机，或通讯速率不对。</source>
        <translation>%1: the bytes that came back are not this radio&apos;s protocol. Another radio may be connected, or the line speed is wrong.</translation>
    </message>
    <message>
        <source>无法识别的%1（%2），已跳过</source>
        <translation>%1 not recognised (%2); skipped</translation>
    </message>
    <message>
        <source>没有频率，已跳过</source>
        <translation>no frequency; skipped</translation>
    </message>
    <message>
        <source>本机没有%1信令方式，已跳过</source>
        <translation>the radio has no %1 signaling; skipped</translation>
    </message>
    <message>
        <source>本机没有%1调制方式，已跳过</source>
        <translation>the radio has no %1 modulation; skipped</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>文件太大，不是信道表。</source>
        <translation>The file is too large to be a channel list.</translation>
    </message>
    <message>
        <source>无法读取文件！</source>
        <translation>The file cannot be read!</translation>
    </message>
    <message numerus="yes">
        <source>导入%n个信道。</source>
        <translation>
            <numerusform>%n channel imported.</numerusform>
            <numerusform>%n channels imported.</numerusform>
        </translation>
    </message>
    <message>
        <source>保存文件错误！</source>
        <translation>Error saving the file!</translation>
    </message>
    <message numerus="yes">
        <source>导出%n个信道。</source>
        <translation>
            <numerusform>%n channel exported.</numerusform>
            <numerusform>%n channels exported.</numerusform>
        </translation>
    </message>
    <message>
        <source>步进(kHz)</source>
        <translation>Step (kHz)</translation>
    </message>
    <message>
        <source>调测</source>
        <translation>Tune</translation>
    </message>
</context>
<context>
    <name>qm::ChannelRowChecks</name>
    <message>
        <source>%1%2 MHz远在本机频率范围%3-%4 MHz之外，已跳过</source>
        <translation>%1 %2 MHz is far outside the radio&apos;s range %3-%4 MHz; skipped</translation>
    </message>
    <message>
        <source>%1%2%3 MHz改为%4 MHz</source>
        <translation>%1 %2 %3 MHz changed to %4 MHz</translation>
    </message>
    <message>
        <source>CTC数据无效！</source>
        <translation>Invalid CTCSS tone!</translation>
    </message>
    <message>
        <source>%1%2（%3），已跳过</source>
        <translation>%1: %2 (%3); skipped</translation>
    </message>
    <message>
        <source>%1 %2改为%3</source>
        <translation>%1 %2 changed to %3</translation>
    </message>
    <message>
        <source>DCS 数据无效！</source>
        <translation>Invalid DCS code!</translation>
    </message>
</context>
<context>
    <name>qm::CheckedWrite</name>
    <message>
        <source>备份失败</source>
        <translation>backup failed</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>写频失败</source>
        <translation>write failed</translation>
    </message>
    <message>
        <source>校验失败</source>
        <translation>verify failed</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>succeeded</translation>
    </message>
</context>
<context>
    <name>qm::Document</name>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>选择不同的机型将初始化所有的数据，真的要继续吗？</source>
        <translation>Choosing another model resets all the data. Continue?</translation>
    </message>
    <message>
        <source>保存文件错误！</source>
        <translation>Error saving the file!</translation>
    </message>
    <message>
        <source>保存文件错误</source>
        <translation>Error saving the file</translation>
    </message>
    <message>
        <source>数据没有保存，是否要保存？</source>
        <translation>The data has not been saved. Save it?</translation>
    </message>
    <message>
        <source>数据没有保存，是否要保存数据？</source>
        <translation>The data has not been saved. Save it?</translation>
    </message>
</context>
<context>
    <name>qm::E</name>
    <message>
        <source>应为“%1”或“%2”</source>
        <translation>expected &quot;%1&quot; or &quot;%2&quot;</translation>
    </message>
</context>
<context>
    <name>qm::FunctionSettingsModel</name>
    <message>
        <source>发射限时错误！</source>
        <translation>Time-out timer error!</translation>
    </message>
    <message>
        <source>TOT再按键时间错误！</source>
        <translation>TOT rekey time error!</translation>
    </message>
    <message>
        <source>TOT复位时间错误！</source>
        <translation>TOT reset time error!</translation>
    </message>
    <message>
        <source>静噪等级错误！</source>
        <translation>Squelch level error!</translation>
    </message>
    <message>
        <source>优先信道错误！</source>
        <translation>Priority channel error!</translation>
    </message>
    <message>
        <source>回扫周期错误！</source>
        <translation>Look-back time error!</translation>
    </message>
    <message>
        <source>回复信道错误！</source>
        <translation>Revert channel error!</translation>
    </message>
    <message>
        <source>扫描停留时间错误！</source>
        <translation>Scan hang time error!</translation>
    </message>
    <message>
        <source>修改%1</source>
        <translation>%1</translation>
    </message>
</context>
<context>
    <name>qm::ProbePort</name>
    <message>
        <source>打开端口没有返回（驱动程序没有响应）</source>
        <translation>opening the port did not return (the driver does not respond)</translation>
    </message>
</context>
<context>
    <name>qm::ReadHistory</name>
    <message>
        <source>读频记录</source>
        <translation>Read history</translation>
    </message>
    <message>
        <source>读频记录无法保存到 %1。读频数据不受影响，以后不再提示。</source>
        <translation>The read could not be kept in %1. The data read is not affected; this is not said again.</translation>
    </message>
</context>
<context>
    <name>qm::Reader</name>
    <message>
        <source>未知的键</source>
        <translation>unknown key</translation>
    </message>
    <message>
        <source>缺少这个键</source>
        <translation>this key is missing</translation>
    </message>
    <message>
        <source>值的类型不对</source>
        <translation>wrong type of value</translation>
    </message>
    <message>
        <source>raw的值超出这个字段的%1位</source>
        <translation>the raw value does not fit the field&apos;s %1 bits</translation>
    </message>
    <message>
        <source>地址不在范围内：应为%1到%2之间16的倍数</source>
        <translation>address out of range: expected a multiple of 16 from %1 to %2</translation>
    </message>
    <message>
        <source>这个地址的行重复</source>
        <translation>a row at this address is repeated</translation>
    </message>
    <message>
        <source>应为16个十六进制字节，以空格分开</source>
        <translation>expected 16 hex bytes separated by spaces</translation>
    </message>
    <message>
        <source>缺少这个表</source>
        <translation>this table is missing</translation>
    </message>
    <message>
        <source>表的数组</source>
        <translation>an array of tables</translation>
    </message>
    <message>
        <source>信道%1重复</source>
        <translation>channel %1 repeated</translation>
    </message>
    <message>
        <source>缺少信道%1</source>
        <translation>channel %1 is missing</translation>
    </message>
    <message>
        <source>应为“%1”或“%2”</source>
        <translation>expected &quot;%1&quot; or &quot;%2&quot;</translation>
    </message>
</context>
<context>
    <name>qm::SignalEntry</name>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>CTC数据无效！</source>
        <translation>Invalid CTCSS tone!</translation>
    </message>
    <message>
        <source>DCS错误</source>
        <translation>DCS Error</translation>
    </message>
    <message>
        <source>DCS 数据无效！</source>
        <translation>Invalid DCS code!</translation>
    </message>
</context>
<context>
    <name>qm::TuneController</name>
    <message>
        <source>调测信道的数据已经改变，是否要写入对讲机？</source>
        <translation>The tune channel data has changed. Write it to the radio?</translation>
    </message>
    <message>
        <source>写入完成</source>
        <translation>Write Complete</translation>
    </message>
    <message>
        <source>写入数据完成，请按“确定”按钮继续.....</source>
        <translation>Data written.</translation>
    </message>
    <message>
        <source>调测错误</source>
        <translation>Tune Error</translation>
    </message>
    <message>
        <source>连接中断，请重试！</source>
        <translation>The link was interrupted. Please try again!</translation>
    </message>
    <message>
        <source>调测信道%1</source>
        <translation>Tune channel %1</translation>
    </message>
    <message>
        <source>写入数据完成，请按“确定”按钮继续......</source>
        <translation>Data written.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>请先选择调测信道！</source>
        <translation>Choose a tune channel first!</translation>
    </message>
</context>
<context>
    <name>qm::TuneTableModel</name>
    <message>
        <source>频率错误</source>
        <translation>Frequency Error</translation>
    </message>
    <message>
        <source>调测频率错误！</source>
        <translation>Tune frequency error!</translation>
    </message>
</context>
<context>
    <name>qm::cell_note</name>
    <message>
        <source>此信道已关闭</source>
        <translation>This channel is switched off</translation>
    </message>
    <message>
        <source>此信道禁止发射</source>
        <translation>Transmitting is inhibited on this channel</translation>
    </message>
    <message>
        <source>整机为窄带，此列不起作用</source>
        <translation>The radio is set to narrow band; this column has no effect</translation>
    </message>
</context>
<context>
    <name>qm::cell_text</name>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>高</source>
        <translation>High</translation>
    </message>
    <message>
        <source>低</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>宽带</source>
        <translation>Wide</translation>
    </message>
    <message>
        <source>窄带</source>
        <translation>Narrow</translation>
    </message>
</context>
<context>
    <name>qm::cli</name>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>保存文件错误</source>
        <translation>Error saving the file</translation>
    </message>
    <message>
        <source>文件错误</source>
        <translation>File Error</translation>
    </message>
    <message>
        <source>无法读取文件</source>
        <translation>The file cannot be read</translation>
    </message>
    <message>
        <source>文件太大，不是信道表</source>
        <translation>The file is too large to be a channel list</translation>
    </message>
    <message>
        <source>备份: </source>
        <translation>Backup: </translation>
    </message>
    <message>
        <source>对讲机ID：</source>
        <translation>Radio ID: </translation>
    </message>
    <message>
        <source>最近写频日期：</source>
        <translation>Last write date: </translation>
    </message>
    <message>
        <source>用户自定义信息：</source>
        <translation>User information: </translation>
    </message>
    <message>
        <source>已经达到文本的最大长度。</source>
        <translation>The text has reached its maximum length.</translation>
    </message>
    <message>
        <source>机型: </source>
        <translation>Model: </translation>
    </message>
    <message>
        <source>频率范围: </source>
        <translation>Frequency range: </translation>
    </message>
    <message>
        <source>信道设置</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>禁发</source>
        <translation>Tx inhibit</translation>
    </message>
    <message>
        <source>整机功能</source>
        <translation>Radio functions</translation>
    </message>
    <message>
        <source>(错误)</source>
        <translation>(error)</translation>
    </message>
    <message>
        <source>调测信道</source>
        <translation>Tune channels</translation>
    </message>
    <message>
        <source>调整项</source>
        <translation>Tune items</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>该机为V1.0版，没有窄带调测项</source>
        <translation>this radio is version V1.0 and has no narrow-band tune items</translation>
    </message>
    <message>
        <source>没有要修改的项目</source>
        <translation>nothing to change</translation>
    </message>
    <message>
        <source>%1，没有修改</source>
        <translation>Nothing changed: %1</translation>
    </message>
    <message numerus="yes">
        <source>共%n台：成功%1台，失败%2台</source>
        <translation>
            <numerusform>%n radio: %1 succeeded, %2 failed</numerusform>
            <numerusform>%n radios: %1 succeeded, %2 failed</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>导出%n个信道 (%1)</source>
        <translation>
            <numerusform>%n channel exported (%1)</numerusform>
            <numerusform>%n channels exported (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>导入%n个信道 (%1)</source>
        <translation>
            <numerusform>%n channel imported (%1)</numerusform>
            <numerusform>%n channels imported (%1)</numerusform>
        </translation>
    </message>
    <message>
        <source>set FILE --channels 1-8 [--bandwidth 宽带|窄带] [--power 高|低] [--scan 添加|删除] [--busy-lock 打开|关闭] [--rx-signal TEXT] [--tx-signal TEXT] [--tx-inhibit on|off] [--tx-equals-rx] [--fill-from MHZ [--step KHZ] [--fill-tx]] -o OUT</source>
        <translation>set FILE --channels 1-8 [--bandwidth Wide|Narrow] [--power High|Low] [--scan Add|Delete] [--busy-lock On|Off] [--rx-signal TEXT] [--tx-signal TEXT] [--tx-inhibit on|off] [--tx-equals-rx] [--fill-from MHZ [--step KHZ] [--fill-tx]] -o OUT</translation>
    </message>
    <message>
        <source>无法识别的值（%1），应为%2</source>
        <translation>value not recognised (%1); use %2</translation>
    </message>
    <message numerus="yes">
        <source>修改了%n个信道 (%1)</source>
        <translation>
            <numerusform>%n channel changed (%1)</numerusform>
            <numerusform>%n channels changed (%1)</numerusform>
        </translation>
    </message>
    <message>
        <source>这个选项只能给一次</source>
        <translation>this option may be given only once</translation>
    </message>
    <message>
        <source>只有和%1一起才起作用</source>
        <translation>takes effect only together with %1</translation>
    </message>
    <message>
        <source>在端口对话框中选它，或用</source>
        <translation>choose it in the port dialog, or use</translation>
    </message>
</context>
<context>
    <name>qm::cli::TerminalSeam</name>
    <message>
        <source>请连接第%1台对讲机，按回车写频（q 回车结束）：</source>
        <translation>Connect radio %1 and press Enter to write (q Enter ends):</translation>
    </message>
    <message>
        <source>等待第%1台对讲机应答……（q 回车或 Ctrl+C 结束）</source>
        <translation>Waiting for radio %1 to answer... (q Enter or Ctrl+C ends)</translation>
    </message>
    <message>
        <source>记录文件无法写入</source>
        <translation>The record file cannot be written</translation>
    </message>
</context>
<context>
    <name>qm::cli::TuneSession</name>
    <message>
        <source>调测模式没有退出</source>
        <translation>Tune mode was not left</translation>
    </message>
</context>
<context>
    <name>qm::embedtext</name>
    <message>
        <source>嵌入信息</source>
        <translation>Embedded Information</translation>
    </message>
    <message>
        <source>用户自定义信息</source>
        <translation>User information</translation>
    </message>
    <message>
        <source>对讲机ID：</source>
        <translation>Radio ID: </translation>
    </message>
    <message>
        <source>最近写频日期：</source>
        <translation>Last write date: </translation>
    </message>
    <message>
        <source>读取(&amp;R)</source>
        <translation>&amp;Read</translation>
    </message>
    <message>
        <source>写入(&amp;W)</source>
        <translation>&amp;Write</translation>
    </message>
    <message>
        <source>字体(&amp;F)...</source>
        <translation>&amp;Font...</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>已经达到文本的最大长度。</source>
        <translation>The text has reached its maximum length.</translation>
    </message>
</context>
<context>
    <name>qm::print</name>
    <message>
        <source>信道%1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>发射限时</source>
        <translation>Time-out timer</translation>
    </message>
    <message>
        <source>提示音</source>
        <translation>Key beep</translation>
    </message>
    <message>
        <source>预告警时间</source>
        <translation>Pre-alert time</translation>
    </message>
    <message>
        <source>静噪等级</source>
        <translation>Squelch level</translation>
    </message>
    <message>
        <source>TOT再按键时间</source>
        <translation>TOT rekey time</translation>
    </message>
    <message>
        <source>手动模式</source>
        <translation>Manual mode</translation>
    </message>
    <message>
        <source>TOT复位时间</source>
        <translation>TOT reset time</translation>
    </message>
    <message>
        <source>省电功能</source>
        <translation>Battery save</translation>
    </message>
    <message>
        <source>带宽</source>
        <translation>Bandwidth</translation>
    </message>
    <message>
        <source>恢复信道</source>
        <translation>Revert channel</translation>
    </message>
    <message>
        <source>扫描模式</source>
        <translation>Scan mode</translation>
    </message>
    <message>
        <source>扫描停留时间</source>
        <translation>Scan hang time</translation>
    </message>
    <message>
        <source>优先信道</source>
        <translation>Priority channel</translation>
    </message>
    <message>
        <source>监听</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>回扫周期</source>
        <translation>Look-back time</translation>
    </message>
    <message>
        <source>功率选择</source>
        <translation>Tx power select (MONI key)</translation>
    </message>
</context>
<context>
    <name>qm::print::heading</name>
    <message>
        <source>信道</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>接收频率</source>
        <translation>Rx Freq</translation>
    </message>
    <message>
        <source>接收</source>
        <translation>Rx</translation>
    </message>
    <message>
        <source>CTC/DCS</source>
        <translation>CTCSS/DCS</translation>
    </message>
    <message>
        <source>发射频率</source>
        <translation>Tx Freq</translation>
    </message>
    <message>
        <source>发射</source>
        <translation>Tx</translation>
    </message>
    <message>
        <source>扫描</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>add/</translation>
    </message>
    <message>
        <source>/添加</source>
        <translation>del</translation>
    </message>
    <message>
        <source>繁忙</source>
        <translation>Busy</translation>
    </message>
    <message>
        <source>锁定</source>
        <translation>lockout</translation>
    </message>
    <message>
        <source>发射 </source>
        <translation>Tx</translation>
    </message>
    <message>
        <source>功率 </source>
        <translation>Power</translation>
    </message>
    <message>
        <source>带宽 </source>
        <translation>BW</translation>
    </message>
</context>
<context>
    <name>qm::tune_note</name>
    <message>
        <source>调测用信道</source>
        <translation>The channel the items are adjusted on</translation>
    </message>
    <message>
        <source>此信道已关闭</source>
        <translation>This channel is switched off</translation>
    </message>
    <message>
        <source>此信道禁止发射</source>
        <translation>Transmitting is inhibited on this channel</translation>
    </message>
    <message>
        <source>调测用信道，%1</source>
        <translation>The channel the items are adjusted on; %1</translation>
    </message>
</context>
<context>
    <name>qm::ui</name>
    <message>
        <source>导出PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>ZR410 系列对讲机编程软件</source>
        <translation>Programming software for the ZR410 series radios</translation>
    </message>
    <message>
        <source>串口设备（读频、写频和调测使用）。</source>
        <translation>The serial device for read, write and tune mode.</translation>
    </message>
    <message>
        <source>厂家配置文件，代替程序目录下的 nrvPC.ini。</source>
        <translation>The maker file, instead of nrvPC.ini in the program folder.</translation>
    </message>
    <message>
        <source>程序自己的配置文件（端口和最近的文件）。</source>
        <translation>The program&apos;s own configuration file (port, recent files, language).</translation>
    </message>
    <message>
        <source>保存各窗口的截图到目录后退出。</source>
        <translation>Save pictures of the windows into the folder, then quit.</translation>
    </message>
    <message>
        <source>界面语言 / interface language: zh, en</source>
        <translation>The interface language: zh, en</translation>
    </message>
    <message>
        <source>启动后打开的数据文件（.q83、.z410 或文本形式 .toml）。</source>
        <translation>A data file (.q83, .z410 or the text form .toml) to open at start.</translation>
    </message>
    <message>
        <source>只能打开一个数据文件。</source>
        <translation>Only one data file can be opened.</translation>
    </message>
    <message>
        <source>Qt 的标准选项（例如 -style、-platform、-reverse）也可以使用。</source>
        <translation>Qt&apos;s standard options (such as -style, -platform, -reverse) can be used as well.</translation>
    </message>
    <message>
        <source>显示本帮助后退出。</source>
        <translation>Shows this help and exits.</translation>
    </message>
    <message>
        <source>QM830K编程软件</source>
        <translation>QM830K Programming Software</translation>
    </message>
</context>
<context>
    <name>qm::ui::ChannelGrid</name>
    <message>
        <source>信道表</source>
        <translation>Channel table</translation>
    </message>
    <message>
        <source>每行一个信道：接收与发射的频率和信令、扫描、繁忙锁定、功率与带宽。回车或空格编辑当前单元格</source>
        <translation>One channel a row: receive and transmit frequency and signalling, scan, busy lock, power and bandwidth. Enter or Space edits the current cell</translation>
    </message>
    <message>
        <source>勾选后此信道关闭</source>
        <translation>Ticked, the channel is switched off</translation>
    </message>
    <message>
        <source>勾选后此信道禁止发射</source>
        <translation>Ticked, the channel does not transmit</translation>
    </message>
    <message>
        <source>勾选后发射频率与信令取接收的</source>
        <translation>Ticked, transmit takes the receive frequency and signalling</translation>
    </message>
</context>
<context>
    <name>qm::ui::DlgBulkEdit</name>
    <message>
        <source>批量修改</source>
        <translation>Bulk Edit</translation>
    </message>
    <message>
        <source>修改信道：%1（只修改勾选的项目）</source>
        <translation>Channels to change: %1 (only the ticked settings change)</translation>
    </message>
    <message>
        <source>信道设置</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>带宽</source>
        <translation>Bandwidth</translation>
    </message>
    <message>
        <source>发射功率</source>
        <translation>Transmit power</translation>
    </message>
    <message>
        <source>扫描</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>繁忙锁定</source>
        <translation>Busy lockout</translation>
    </message>
    <message>
        <source>接收CTC/DCS</source>
        <translation>Receive CTCSS/DCS</translation>
    </message>
    <message>
        <source>发射CTC/DCS</source>
        <translation>Transmit CTCSS/DCS</translation>
    </message>
    <message>
        <source>禁发</source>
        <translation>Tx inhibit</translation>
    </message>
    <message>
        <source>允许发射</source>
        <translation>Transmit allowed</translation>
    </message>
    <message>
        <source>禁止发射</source>
        <translation>Transmit inhibited</translation>
    </message>
    <message>
        <source>发射频率 = 接收频率</source>
        <translation>Transmit frequency = receive frequency</translation>
    </message>
    <message>
        <source>按步进填充频率</source>
        <translation>Fill frequencies in steps</translation>
    </message>
    <message>
        <source>发射频率也填充</source>
        <translation>Fill the transmit frequency too</translation>
    </message>
    <message>
        <source>起始频率(MHz)</source>
        <translation>Start frequency (MHz)</translation>
    </message>
    <message>
        <source>步进(kHz)</source>
        <translation>Step (kHz)</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>qm::ui::DlgWarn</name>
    <message>
        <source>下次不再提示          (下次重启软件时再跳出提示框)</source>
        <translation>Do not show again (until the program is started again)</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>qm::ui::EditCommands</name>
    <message>
        <source>撤销(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>重做(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>剪切(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>复制(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>粘贴(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>清除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>全选(&amp;A)</source>
        <translation>Select &amp;All</translation>
    </message>
    <message>
        <source>批量修改...</source>
        <translation>Bulk Edit...</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>剪切</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>批量修改</source>
        <translation>Bulk Edit</translation>
    </message>
    <message numerus="yes">
        <source>粘贴%n个信道。</source>
        <translation>
            <numerusform>%n channel pasted.</numerusform>
            <numerusform>%n channels pasted.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>修改了%n个信道。</source>
        <translation>
            <numerusform>%n channel changed.</numerusform>
            <numerusform>%n channels changed.</numerusform>
        </translation>
    </message>
    <message>
        <source>撤销 %1(&amp;U)</source>
        <translation>&amp;Undo %1</translation>
    </message>
    <message>
        <source>重做 %1(&amp;R)</source>
        <translation>&amp;Redo %1</translation>
    </message>
    <message>
        <source>信道行</source>
        <translation>Channel rows</translation>
    </message>
</context>
<context>
    <name>qm::ui::FleetDialog</name>
    <message>
        <source>批量写频</source>
        <translation>Fleet Write</translation>
    </message>
    <message>
        <source>把当前打开的数据逐台写入对讲机。</source>
        <translation>Writes the open data into one radio after the other.</translation>
    </message>
    <message>
        <source>选项</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>写频后校验</source>
        <translation>Verify after write</translation>
    </message>
    <message>
        <source>写频前备份</source>
        <translation>Back up before write</translation>
    </message>
    <message>
        <source>每台点击“下一台”后写频</source>
        <translation>Write each radio after a click on &quot;Next radio&quot;</translation>
    </message>
    <message>
        <source>自动检测下一台对讲机</source>
        <translation>Detect the next radio by itself</translation>
    </message>
    <message>
        <source>浏览...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>记录文件：</source>
        <translation>Record file:</translation>
    </message>
    <message>
        <source>名单（可选）：</source>
        <translation>Roster (optional):</translation>
    </message>
    <message>
        <source>对讲机ID</source>
        <translation>Radio ID</translation>
    </message>
    <message>
        <source>机型</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>版本</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>名单行</source>
        <translation>Roster row</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>下一台</source>
        <translation>Next radio</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>当前这台写完后停止</source>
        <translation>Stop once the radio being written is done</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>当前这台写完后停止。</source>
        <translation>Stopping once the radio being written is done.</translation>
    </message>
    <message>
        <source>记录文件</source>
        <translation>Record File</translation>
    </message>
    <message>
        <source>CSV文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>名单</source>
        <translation>Roster</translation>
    </message>
    <message>
        <source>请连接第%1台对讲机，然后点击“下一台”。</source>
        <translation>Connect radio %1, then click &quot;Next radio&quot;.</translation>
    </message>
    <message>
        <source>等待第%1台对讲机应答……</source>
        <translation>Waiting for radio %1 to answer...</translation>
    </message>
    <message>
        <source>第%1行 %2</source>
        <translation>line %1 %2</translation>
    </message>
    <message numerus="yes">
        <source>共%n台：成功%1台，失败%2台</source>
        <translation>
            <numerusform>%n radio: %1 succeeded, %2 failed</numerusform>
            <numerusform>%n radios: %1 succeeded, %2 failed</numerusform>
        </translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>记录文件无法写入</source>
        <translation>The record file cannot be written</translation>
    </message>
</context>
<context>
    <name>qm::ui::FrmAbout</name>
    <message>
        <source>关于%1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>版本2.1</source>
        <translation>Version 2.1</translation>
    </message>
    <message>
        <source>适用于Windows9x/2000</source>
        <translation>For Windows 9x/2000</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>qm::ui::FrmEmbed</name>
    <message>
        <source>嵌入信息</source>
        <translation>Embedded Information</translation>
    </message>
    <message>
        <source>用户自定义信息</source>
        <translation>User information</translation>
    </message>
    <message>
        <source>对讲机ID：</source>
        <translation>Radio ID:</translation>
    </message>
    <message>
        <source>最近写频日期：</source>
        <translation>Last write date:</translation>
    </message>
    <message>
        <source>读取(&amp;R)</source>
        <translation>&amp;Read</translation>
    </message>
    <message>
        <source>写入(&amp;W)</source>
        <translation>&amp;Write</translation>
    </message>
    <message>
        <source>字体(&amp;F)...</source>
        <translation>&amp;Font...</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>已经达到文本的最大长度。</source>
        <translation>The text has reached its maximum length.</translation>
    </message>
</context>
<context>
    <name>qm::ui::FrmMain</name>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>读频</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>端口选择</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>写频</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新建(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>打开(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>另存为(&amp;A)</source>
        <translation>Save &amp;As</translation>
    </message>
    <message>
        <source>打印(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>打印预览(&amp;V)...</source>
        <translation>Print Pre&amp;view...</translation>
    </message>
    <message>
        <source>导出PDF(&amp;D)...</source>
        <translation>Export P&amp;DF...</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>机型(&amp;M)</source>
        <translation>&amp;Model</translation>
    </message>
    <message>
        <source>机型信息(&amp;M)</source>
        <translation>&amp;Model Information</translation>
    </message>
    <message>
        <source>编程(&amp;O)</source>
        <translation>&amp;Program</translation>
    </message>
    <message>
        <source>读频(&amp;R)</source>
        <translation>&amp;Read</translation>
    </message>
    <message>
        <source>写频(&amp;W)</source>
        <translation>&amp;Write</translation>
    </message>
    <message>
        <source>调测(&amp;T)</source>
        <translation>&amp;Tune Mode</translation>
    </message>
    <message>
        <source>设置窗口(&amp;P)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>信道窗口(&amp;C)</source>
        <translation>&amp;Channels</translation>
    </message>
    <message>
        <source>嵌入信息(&amp;R)</source>
        <translation>Embedded &amp;Information</translation>
    </message>
    <message>
        <source>端口(&amp;C)</source>
        <translation>P&amp;ort</translation>
    </message>
    <message>
        <source>选择端口(&amp;P)</source>
        <translation>Select &amp;Port</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>帮助内容(&amp;C)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>帮助索引(&amp;I)</source>
        <translation>&amp;Index</translation>
    </message>
    <message>
        <source>关于(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>工具栏</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>机型：</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>频率范围：</source>
        <translation>Frequency range:</translation>
    </message>
    <message>
        <source>信道设置</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>无法显示帮助文件，没有相应的帮助文件与该软件关联。</source>
        <translation>The help cannot be shown: no help file belongs to this program.</translation>
    </message>
    <message>
        <source>帮助 - %1</source>
        <translation>Help - %1</translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>PDF文件无法写入：%1</source>
        <translation>The PDF file cannot be written: %1</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>机型</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>频率范围</source>
        <translation>Frequency range</translation>
    </message>
    <message>
        <source>滚动条交角</source>
        <translation>Scroll bar corner</translation>
    </message>
    <message>
        <source>编辑已应用</source>
        <translation>Edit applied</translation>
    </message>
    <message>
        <source>单元格的编辑应用后焦点停在这里</source>
        <translation>The focus rests here once a cell&apos;s edit is applied</translation>
    </message>
    <message>
        <source>水平滚动</source>
        <translation>Horizontal scroll</translation>
    </message>
    <message>
        <source>垂直滚动</source>
        <translation>Vertical scroll</translation>
    </message>
    <message>
        <source>找不到英文界面的翻译文件，界面仍为中文。</source>
        <translation>The English translation file was not found; the interface stays Chinese.</translation>
    </message>
    <message>
        <source>请先回到信道界面再批量写频。</source>
        <translation>Go back to the channel view before a fleet write.</translation>
    </message>
</context>
<context>
    <name>qm::ui::FrmPort</name>
    <message>
        <source>选择端口</source>
        <translation>Select Port</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>其他端口</source>
        <translation>Other ports</translation>
    </message>
    <message>
        <source>检测连接</source>
        <translation>Check connection</translation>
    </message>
    <message>
        <source>看所选端口上接着什么：写频线、对讲机，或什么也没有</source>
        <translation>See what is on the chosen port: a cable, a radio, or nothing</translation>
    </message>
</context>
<context>
    <name>qm::ui::FrmProgress</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>qm::ui::FrmRadio</name>
    <message>
        <source>机型信息</source>
        <translation>Model Information</translation>
    </message>
    <message>
        <source>机型：</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>频率范围：</source>
        <translation>Frequency range:</translation>
    </message>
    <message>
        <source>CPU版本：</source>
        <translation>CPU version:</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>qm::ui::FrmSignal</name>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>qm::ui::FunctionPanel</name>
    <message>
        <source>整机功能</source>
        <translation>Radio functions</translation>
    </message>
    <message>
        <source>读入的值无效，请重新选择</source>
        <translation>The value loaded is not valid; choose it again</translation>
    </message>
</context>
<context>
    <name>qm::ui::HelpWindow</name>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>查找(&amp;S)：</source>
        <translation>&amp;Search:</translation>
    </message>
    <message>
        <source>输入关键字，按回车查找下一处</source>
        <translation>Type a word, then Enter to find it</translation>
    </message>
    <message>
        <source>查找下一处</source>
        <translation>Find Next</translation>
    </message>
    <message>
        <source>目录</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>已从头开始查找。</source>
        <translation>Search went on from the start.</translation>
    </message>
    <message>
        <source>没有找到“%1”。</source>
        <translation>&quot;%1&quot; not found.</translation>
    </message>
</context>
<context>
    <name>qm::ui::TechnicianExtras</name>
    <message>
        <source>导入CSV</source>
        <translation>Import CSV</translation>
    </message>
    <message>
        <source>第一行</source>
        <translation>first row</translation>
    </message>
    <message>
        <source>其余信道关闭</source>
        <translation>Switch the other channels off</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>起始Location:</source>
        <translation>Start at Location:</translation>
    </message>
    <message>
        <source>导入CSV(&amp;I)...</source>
        <translation>&amp;Import CSV...</translation>
    </message>
    <message>
        <source>导出CSV(&amp;E)...</source>
        <translation>&amp;Export CSV...</translation>
    </message>
    <message>
        <source>写频后校验</source>
        <translation>Verify after write</translation>
    </message>
    <message>
        <source>写频前备份</source>
        <translation>Back up before write</translation>
    </message>
    <message>
        <source>写频前先读出整机数据，按对讲机ID和日期保存到 %1</source>
        <translation>Before a write, read the radio and save its data by radio ID and date in %1</translation>
    </message>
    <message>
        <source>串口记录</source>
        <translation>Serial trace</translation>
    </message>
    <message>
        <source>查看串口记录...</source>
        <translation>Show serial trace...</translation>
    </message>
    <message>
        <source>没有串口记录。请先勾选“编程 → 串口记录”，再读频或写频。</source>
        <translation>No serial trace. Tick &quot;Program → Serial trace&quot; first, then read or write.</translation>
    </message>
    <message>
        <source>还没有串口记录：下一次读频、写频或调测时记录。</source>
        <translation>No serial trace yet: the next read, write or tune is recorded.</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>保存(&amp;S)...</source>
        <translation>&amp;Save...</translation>
    </message>
    <message>
        <source>保存串口记录</source>
        <translation>Save Serial Trace</translation>
    </message>
    <message>
        <source>保存文件错误！</source>
        <translation>Error saving the file!</translation>
    </message>
    <message>
        <source>保存读频记录</source>
        <translation>Keep every read</translation>
    </message>
    <message>
        <source>每次读频后把读出的数据按对讲机ID和时间保存到 %1</source>
        <translation>After every read, keeps the data read in %1, named by the radio ID and the time</translation>
    </message>
    <message>
        <source>打开读频记录文件夹...</source>
        <translation>Open read history folder...</translation>
    </message>
    <message>
        <source>读频记录</source>
        <translation>Read history</translation>
    </message>
    <message>
        <source>无法打开文件夹 %1。</source>
        <translation>The folder %1 cannot be opened.</translation>
    </message>
    <message>
        <source>批量写频...</source>
        <translation>Fleet write...</translation>
    </message>
</context>
<context>
    <name>qm::ui::TunePanel</name>
    <message>
        <source>接收频率(MHz): </source>
        <translation>Receive frequency (MHz): </translation>
    </message>
    <message>
        <source>接收CTC/DCS: </source>
        <translation>Receive CTCSS/DCS: </translation>
    </message>
    <message>
        <source>发射频率(MHz): </source>
        <translation>Transmit frequency (MHz): </translation>
    </message>
    <message>
        <source>发射CTC/DCS: </source>
        <translation>Transmit CTCSS/DCS: </translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>调测信道</source>
        <translation>Tune channels</translation>
    </message>
    <message>
        <source>写入调测信道</source>
        <translation>Write tune channels</translation>
    </message>
    <message>
        <source>调测项目</source>
        <translation>Tune items</translation>
    </message>
    <message>
        <source>单击一个项目开始调整；“调测信道”编辑调测用的信道</source>
        <translation>Click an item to adjust it; &quot;Tune channels&quot; edits the channels used for tuning</translation>
    </message>
    <message>
        <source>把调整的值写入对讲机</source>
        <translation>Stores the adjusted value in the radio</translation>
    </message>
    <message>
        <source>放弃调整的值</source>
        <translation>Discards the adjusted value</translation>
    </message>
    <message>
        <source>调测信道表</source>
        <translation>Tune channel table</translation>
    </message>
    <message>
        <source>11个调测信道的收发频率、步进和信令；每行末尾选择调测用信道、关闭或禁止发射</source>
        <translation>The 11 tune channels&apos; receive and transmit frequency, step and signalling; at each row&apos;s end choose the tune channel, switch it off or inhibit transmitting</translation>
    </message>
    <message>
        <source>调测信道%1</source>
        <translation>Tune channel %1</translation>
    </message>
    <message>
        <source>选中后各项目在此信道上调整</source>
        <translation>Chosen, the items are adjusted on this channel</translation>
    </message>
    <message>
        <source>调测值</source>
        <translation>Tune value</translation>
    </message>
    <message>
        <source>调测值%1，左右键逐一调整</source>
        <translation>Tune value %1; Left and Right step it</translation>
    </message>
</context>
<context>
    <name>qm::web::Session</name>
    <message>
        <source>文件错误</source>
        <translation>File Error</translation>
    </message>
    <message>
        <source>保存文件错误</source>
        <translation>Error saving the file</translation>
    </message>
    <message>
        <source>检测连接</source>
        <translation>Check connection</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message numerus="yes">
        <source>粘贴%n个信道。</source>
        <translation>
            <numerusform>%n channel pasted.</numerusform>
            <numerusform>%n channels pasted.</numerusform>
        </translation>
    </message>
    <message>
        <source>批量修改</source>
        <translation>Bulk Edit</translation>
    </message>
    <message numerus="yes">
        <source>修改了%n个信道。</source>
        <translation>
            <numerusform>%n channel changed.</numerusform>
            <numerusform>%n channels changed.</numerusform>
        </translation>
    </message>
    <message>
        <source>剪切</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
</context>
<context>
    <name>qm::web::WebSerialPort</name>
    <message>
        <source>所选端口</source>
        <translation>The chosen port</translation>
    </message>
    <message>
        <source>所选端口（USB %1）</source>
        <translation>The chosen port (USB %1)</translation>
    </message>
</context>
<context>
    <name>std</name>
    <message>
        <source>QM830K编程软件</source>
        <translation>QM830K Programming Software</translation>
    </message>
    <message>
        <source>第%1行：%2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>信道%1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>信道%1为空。</source>
        <translation>Channel %1 is empty.</translation>
    </message>
    <message>
        <source> 信道%1  为空。</source>
        <translation> Channel %1 is empty.</translation>
    </message>
    <message>
        <source>信道%1 ～ CH%2 都为空。</source>
        <translation>Channels %1 - %2 are empty.</translation>
    </message>
    <message>
        <source>CH%1 is empty.</source>
        <translation>CH%1 is empty.</translation>
    </message>
    <message>
        <source>CH%1 ～ CH%2 are empty.</source>
        <translation>CH%1 - CH%2 are empty.</translation>
    </message>
    <message>
        <source>机型:</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>频率范围:</source>
        <translation>Frequency range:</translation>
    </message>
    <message>
        <source>信道设置</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>整机功能</source>
        <translation>Radio functions</translation>
    </message>
    <message>
        <source>端口%1</source>
        <translation>COM%1</translation>
    </message>
    <message>
        <source>当前要写频的机器为V1.0版，某些功能无效，详情请查看帮助文件！是否继续？ </source>
        <translation>The radio to be written is a V1.0 radio: some functions do not work on it (see the help). Continue? </translation>
    </message>
    <message>
        <source>当前连接的机器为更新版本，本软件可能不适用，请使用更新版本的编程软件软件。是否继续？ </source>
        <translation>The connected radio is of a newer version than this software knows; a newer programming software is advised. Continue? </translation>
    </message>
    <message>
        <source>是否继续？ </source>
        <translation>Continue? </translation>
    </message>
    <message>
        <source>%1 没有响应，请检查你的连接或机器电源是否打开！</source>
        <translation>%1 does not answer. Please check the cable and that the radio is switched on!</translation>
    </message>
    <message>
        <source>读频完成－ </source>
        <translation>Read complete - </translation>
    </message>
    <message>
        <source>%1: 写入 %2，读回 %3</source>
        <translation>%1: written %2, read back %3</translation>
    </message>
    <message>
        <source>#%1  ID %2  机型代码 %3  版本 %4  %5  %6  %7秒</source>
        <translation>#%1  ID %2  model code %3  version %4  %5  %6  %7 s</translation>
    </message>
    <message>
        <source>写频完成－</source>
        <translation>Write complete - </translation>
    </message>
    <message>
        <source>……共%1条</source>
        <translation>... %1 notes in all</translation>
    </message>
    <message>
        <source>未知机型（代码 %1）</source>
        <translation>unknown model (code %1)</translation>
    </message>
    <message>
        <source>修改%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>修改数据</source>
        <translation>Data changes</translation>
    </message>
    <message>
        <source>修改%1Tx&lt;-Rx</source>
        <translation>%1: Tx&lt;-Rx</translation>
    </message>
    <message>
        <source>调测信道%1</source>
        <translation>Tune channel %1</translation>
    </message>
    <message>
        <source>可用</source>
        <translation>usable</translation>
    </message>
    <message>
        <source>不在</source>
        <translation>not there</translation>
    </message>
    <message>
        <source>被另一个程序占用</source>
        <translation>taken by another program</translation>
    </message>
    <message>
        <source>没有权限</source>
        <translation>no permission</translation>
    </message>
    <message>
        <source>驱动程序拒绝了它</source>
        <translation>the driver refused it</translation>
    </message>
    <message>
        <source>打不开</source>
        <translation>cannot be opened</translation>
    </message>
    <message>
        <source>值的类型不对，应为%1</source>
        <translation>wrong type of value, expected %1</translation>
    </message>
    <message>
        <source>数值超出范围（%1到%2）</source>
        <translation>value out of range (%1 to %2)</translation>
    </message>
    <message>
        <source>应为%1的倍数</source>
        <translation>expected a multiple of %1</translation>
    </message>
    <message>
        <source>整数或“unlimited”</source>
        <translation>an integer or &quot;unlimited&quot;</translation>
    </message>
    <message>
        <source>无法识别的频率（%1）</source>
        <translation>unreadable frequency (%1)</translation>
    </message>
    <message>
        <source>频率%1 MHz超出本机频率范围%2-%3 MHz</source>
        <translation>%1 MHz is outside this radio&apos;s band %2-%3 MHz</translation>
    </message>
    <message>
        <source>无法识别的信令（%1）</source>
        <translation>signaling not recognised (%1)</translation>
    </message>
    <message>
        <source>本机没有这个CTC频率（%1）</source>
        <translation>this radio has no such CTCSS tone (%1)</translation>
    </message>
    <message>
        <source>本机没有这个DCS码（%1）</source>
        <translation>this radio has no such DCS code (%1)</translation>
    </message>
    <message>
        <source>应为14位数字（年月日时分秒）或空</source>
        <translation>expected 14 digits (year, month, day, hour, minute, second) or nothing</translation>
    </message>
    <message>
        <source>应为16个ASCII字符或空</source>
        <translation>expected 16 ASCII characters or nothing</translation>
    </message>
    <message>
        <source>超过%1个字符</source>
        <translation>more than %1 characters</translation>
    </message>
    <message>
        <source>机型代码 %1</source>
        <translation>model code %1</translation>
    </message>
    <message>
        <source>此浏览器没有Web Serial，不能连接电台（读频、写频、端口）：请在电脑上用Chrome或Edge打开本页。文件照常可以打开、编辑、保存和打印。</source>
        <translation>This browser has no Web Serial and cannot reach the radio (read, write, port): open this page in Chrome or Edge on a computer. Files open, edit, save and print as usual.</translation>
    </message>
    <message>
        <source>没有选择端口，命令没有执行。请在浏览器列出的端口中选择写频线所在的端口。</source>
        <translation>No port was chosen, so nothing was done. Choose the port of the programming cable in the list the browser shows.</translation>
    </message>
    <message>
        <source>未选择端口</source>
        <translation>No port chosen</translation>
    </message>
</context>
<context>
    <name>toml</name>
    <message>
        <source>缺少这个表</source>
        <translation>this table is missing</translation>
    </message>
    <message>
        <source>表</source>
        <translation>a table</translation>
    </message>
</context>
</TS>
