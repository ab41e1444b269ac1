<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="zh_CN">
<context>
    <name>CCommandBar</name>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>复位</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>增加</source>
        <translation>Inc</translation>
    </message>
    <message>
        <source>减少</source>
        <translation>Dec</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>左走</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右走</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>进纸</source>
        <translation>Feed</translation>
    </message>
    <message>
        <source>退纸</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>测试</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>偏移</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Setup</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Param</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>语言设置改变，重启生效</source>
        <translation>Language changed, restart to apply</translation>
    </message>
    <message>
        <source>添加plt</source>
        <translation>Add plt</translation>
    </message>
    <message>
        <source>保存plt</source>
        <translation>Save plt</translation>
    </message>
    <message>
        <source>小车向左</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>小车向右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>送纸</source>
        <translation>Feed</translation>
    </message>
    <message>
        <source>测试喷头</source>
        <translation>Clean the nozzle</translation>
    </message>
    <message>
        <source>设置起喷偏移</source>
        <translation>Set offset</translation>
    </message>
    <message>
        <source>适合</source>
        <translation>Fit</translation>
    </message>
    <message>
        <source>设置起喷点</source>
        <translation>Set start</translation>
    </message>
    <message>
        <source>移动视图</source>
        <translation>Move view</translation>
    </message>
    <message>
        <source>选择线条</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>移动线条</source>
        <translation>Move line</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Continue</translation>
    </message>
</context>
<context>
    <name>CDlgFieldReader</name>
    <message>
        <source>请输入一个 %1 至 %2 之间的整数。</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
    <message>
        <source>请输入一个 %1 至 %2 之间的数字。</source>
        <translation>Please enter a number between %1 and %2.</translation>
    </message>
    <message>
        <source>%1(%2~%3)</source>
        <translation>%1 (%2~%3)</translation>
    </message>
    <message>
        <source>%1(%2~%3%4)</source>
        <translation>%1 (%2~%3 %4)</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>CInkvaleApp</name>
    <message>
        <source>无法使用锁文件 %1：%2。无法确定程序是否已经在运行，因此程序不会启动。</source>
        <translation>The lock file %1 cannot be used: %2. Without it the program cannot tell whether it is already running, so it does not start.</translation>
    </message>
    <message>
        <source>无法在本地套接字 %1 上监听：%2。程序不会启动。</source>
        <translation>Cannot listen on the local socket %1: %2. The program does not start.</translation>
    </message>
    <message>
        <source>无法使用安装目录 %1：%2。--home 必须指向一个已存在且可写入的目录；程序不会启动。</source>
        <translation>Cannot use the installation directory %1: %2. --home must name an existing directory the program can write to; the program does not start.</translation>
    </message>
</context>
<context>
    <name>CMainWindow</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation>Fit Window</translation>
    </message>
    <message>
        <source>控制面板</source>
        <translation>Control Panel</translation>
    </message>
    <message>
        <source>隐藏</source>
        <translation>Hide</translation>
    </message>
    <message>
        <source>设置(&amp;S)</source>
        <translation>&amp;Setup</translation>
    </message>
    <message>
        <source>系统设置</source>
        <translation>System Settings</translation>
    </message>
    <message>
        <source>机器参数</source>
        <translation>Machine Parameters</translation>
    </message>
    <message>
        <source>绘图单位</source>
        <translation>Plotter Units</translation>
    </message>
    <message>
        <source>通讯(&amp;C)</source>
        <translation>&amp;Link</translation>
    </message>
    <message>
        <source>网口</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>免驱USB(USB打印支持)</source>
        <translation>Driverless USB (USB printing)</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>关于(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>此开发版本只能连接本机回环网络 (127.0.0.0/8)，无法连接 %1；请用 package 预设构建 (cmake --preset package) 以连接真实的绘图仪。</source>
        <translation>This development build reaches only the loopback network (127.0.0.0/8), not %1; build with the package preset (cmake --preset package) to reach a real plotter.</translation>
    </message>
    <message>
        <source>打开任务文件...</source>
        <translation>Open Task File...</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
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
        <source>打开保存的打印任务</source>
        <translation>Open a Saved Print Queue</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>在第 %1 / %2 条带处中断（已打印 %3 米，共 %4 米）</source>
        <translation>Interrupted at band %1 of %2 (%3 m of %4 m printed)</translation>
    </message>
    <message>
        <source>%1 的打印没有完成。</source>
        <translation>Printing of %1 did not finish.</translation>
    </message>
    <message>
        <source>原因：%1</source>
        <translation>Reason: %1</translation>
    </message>
    <message>
        <source>从第 %1 / %2 条带继续</source>
        <translation>Resume from band %1 of %2</translation>
    </message>
    <message>
        <source>从头打印</source>
        <translation>Print from the start</translation>
    </message>
    <message>
        <source>放弃</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>中断的作业</source>
        <translation>Interrupted job</translation>
    </message>
    <message>
        <source>%1 × %2 mm，%3 个条带，用纸 %4 米，约 %5</source>
        <translation>%1 × %2 mm, %3 bands, %4 m of paper, about %5</translation>
    </message>
    <message>
        <source>墨水 (ml)：%1 / %2 / %3 / %4</source>
        <translation>Ink (ml): %1 / %2 / %3 / %4</translation>
    </message>
    <message>
        <source>%1 个任务 · %2 米 · %3 · 墨水 %4 ml</source>
        <translation>%1 tasks · %2 m · %3 · ink %4 ml</translation>
    </message>
    <message>
        <source>保存任务文件...</source>
        <translation>Save Task File...</translation>
    </message>
    <message>
        <source>欢迎使用喷墨绘图仪</source>
        <translation>Welcome to the inkjet plotter</translation>
    </message>
    <message>
        <source>停止这个任务并关闭自动打印吗？
还有 %1 带没有打印。</source>
        <translation>Stop this job and switch automatic printing off?
%1 bands are not printed yet.</translation>
    </message>
    <message>
        <source>机器状态</source>
        <translation>Machine state</translation>
    </message>
    <message>
        <source>等待</source>
        <translation>Wait</translation>
    </message>
    <message>
        <source>还有 %1 个未完成的作业。</source>
        <translation>%1 more unfinished jobs.</translation>
    </message>
    <message>
        <source>保留</source>
        <translation>Keep</translation>
    </message>
</context>
<context>
    <name>CQtPreviewPrompts</name>
    <message>
        <source>输入</source>
        <translation>Input</translation>
    </message>
</context>
<context>
    <name>JobStatus</name>
    <message>
        <source>约 %1 分钟</source>
        <translation>about %1 min</translation>
    </message>
    <message>
        <source>，剩余%1</source>
        <translation>, %1 left</translation>
    </message>
    <message>
        <source>，还有 %1 份</source>
        <translation>, %1 more copies</translation>
    </message>
    <message>
        <source>已暂停 — %1</source>
        <translation>Paused — %1</translation>
    </message>
    <message>
        <source>已暂停 %1</source>
        <translation>paused %1</translation>
    </message>
    <message>
        <source>，绘图仪自 %1 起无响应</source>
        <translation>, the plotter does not answer since %1</translation>
    </message>
    <message>
        <source>等待绘图仪</source>
        <translation>Waiting for the plotter</translation>
    </message>
    <message>
        <source>第 %1/%2 带（从第 %3 带继续）</source>
        <translation>band %1 of %2 (resumed at %3)</translation>
    </message>
    <message>
        <source>第 %1/%2 带</source>
        <translation>band %1 of %2</translation>
    </message>
    <message>
        <source>%1：%2，已打印 %3 m / %4 m</source>
        <translation>%1: %2, %3 m of %4 m</translation>
    </message>
</context>
<context>
    <name>ListTexts</name>
    <message>
        <source>打印中</source>
        <translation>Printing</translation>
    </message>
    <message>
        <source>等待打印</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>手动目录</source>
        <translation>Auto Add</translation>
    </message>
    <message>
        <source>自动目录</source>
        <translation>Auto Add</translation>
    </message>
    <message>
        <source>手动打开</source>
        <translation>Manual Add</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>文件打开失败!</source>
        <translation>Open File Failed!</translation>
    </message>
    <message>
        <source>重复打开</source>
        <translation>Already Open</translation>
    </message>
    <message>
        <source>文件大小超出限制</source>
        <translation>File size too large</translation>
    </message>
    <message>
        <source>超出机器幅宽！请重新设置右边据和纸张宽度！</source>
        <translation>Out of size in Y: please change the right margin and the paper width, or open another plt file.</translation>
    </message>
    <message>
        <source>意外的文件格式。</source>
        <translation>Unexpected file format.</translation>
    </message>
    <message>
        <source>读取 %1 时发生了错误。</source>
        <translation>An error occurred while reading %1.</translation>
    </message>
    <message>
        <source>设置文件无法读取，已保留为 %1。程序正在使用默认设置（包括机器的 IP 地址），请检查设置。</source>
        <translation>The settings file could not be read and has been kept as %1. The program is using the default settings (the machine&apos;s IP address included); please check the settings.</translation>
    </message>
    <message>
        <source>由于输入的段长太短，分割失败！</source>
        <translation>Page length too short, split failed!</translation>
    </message>
    <message>
        <source>分割段长 %1 mm 不短于图形长度 %2 mm，没有分割。</source>
        <translation>The split length of %1 mm is not shorter than the drawing (%2 mm); nothing was split.</translation>
    </message>
    <message>
        <source>对话框打开期间该任务已被删除或替换，没有执行操作。</source>
        <translation>The task was deleted or replaced while the dialog was open; nothing was done.</translation>
    </message>
    <message>
        <source>没有选中任务，没有打印。</source>
        <translation>No task is highlighted; nothing was printed.</translation>
    </message>
    <message>
        <source>选中的任务已不在列表中，没有打印。</source>
        <translation>The highlighted task has left the lists; nothing was printed.</translation>
    </message>
    <message>
        <source>%1 已不在文件夹中或已被改写，没有打印。</source>
        <translation>%1 is no longer in its folder as it was read (deleted or rewritten); it was not printed.</translation>
    </message>
    <message>
        <source>自动文件夹中的 %1 无法打印，已移到 %2，旁边的文本文件说明了原因。</source>
        <translation>%1 in the automatic folder cannot be printed. It was moved to %2; the text file beside it says why.</translation>
    </message>
    <message>
        <source>%1 无法打印，也无法移到 Rejected 文件夹（%2）。文件保留在原处。</source>
        <translation>%1 cannot be printed and could not be moved to the Rejected folder (%2). The file stays where it is.</translation>
    </message>
    <message>
        <source>%1 有 %2 MB，超过了 %3 MB 的文件大小限制。</source>
        <translation>%1 has %2 MB, more than the file size limit of %3 MB.</translation>
    </message>
    <message>
        <source>机器没有应答：请检查电源、网线或 USB 线，以及机器的地址。</source>
        <translation>The machine does not answer: check its power, the network or USB cable, and the machine&apos;s address.</translation>
    </message>
    <message>
        <source>机器还没有准备就绪。</source>
        <translation>The machine is not ready yet.</translation>
    </message>
    <message>
        <source>正在打印任务，请等它结束。</source>
        <translation>A job is printing; wait until it ends.</translation>
    </message>
    <message>
        <source>没有正在打印的任务可以暂停。</source>
        <translation>No job is printing that could be paused.</translation>
    </message>
    <message>
        <source>没有可以停止的任务。</source>
        <translation>No job is running that could be stopped.</translation>
    </message>
    <message>
        <source>%1 无法作为图形读取。</source>
        <translation>%1 cannot be read as a drawing.</translation>
    </message>
    <message>
        <source>%1 中没有可以打印的内容（例如只有 HP-GL/2 光栅数据）。</source>
        <translation>%1 holds nothing that can be printed (for example only HP-GL/2 raster data).</translation>
    </message>
    <message>
        <source>%1 的图形远宽于纸卷，请检查绘图单位设置。</source>
        <translation>The drawing of %1 is far wider than the roll; check the plot unit settings.</translation>
    </message>
    <message>
        <source>作业开始后 %1 已被修改，无法继续打印。请从头打印。</source>
        <translation>%1 changed since the job started, so it cannot be continued. Print it from the start.</translation>
    </message>
    <message>
        <source>作业开始后机器的喷头参数已更改，无法继续打印。请从头打印。</source>
        <translation>The machine&apos;s head parameters changed since the job started, so it cannot be continued. Print it from the start.</translation>
    </message>
    <message>
        <source>无法继续中断的作业：%1</source>
        <translation>The interrupted job cannot be continued: %1</translation>
    </message>
    <message>
        <source>无法写入作业记录，作业不能继续：%1</source>
        <translation>The job&apos;s record cannot be written, so the job does not go on: %1</translation>
    </message>
    <message>
        <source>绘图仪仍停在中断的作业中；请在绘图仪上或在此处按停止。</source>
        <translation>The plotter is still in the interrupted job; press Stop on the plotter or here.</translation>
    </message>
    <message>
        <source>任务列表无法保存（%1）；稍后将再次尝试。</source>
        <translation>The task lists could not be saved (%1); saving is tried again.</translation>
    </message>
    <message>
        <source>%1 的作业没有完成；在继续或放弃它之前不会打印其他任务。</source>
        <translation>The job of %1 did not finish; nothing else prints until it is resumed or discarded.</translation>
    </message>
    <message>
        <source>%1 的尺寸为 %2，不像是唛架；乘以 %3 后为 %4。请检查单位设置：%5</source>
        <translation>%1 measures %2, an unlikely size for a marker; scaled by %3 it would measure %4. Check the unit setting: %5</translation>
    </message>
    <message>
        <source>%1 的尺寸为 %2，不像是唛架，请检查单位设置。</source>
        <translation>%1 measures %2, an unlikely size for a marker; check the unit settings.</translation>
    </message>
    <message>
        <source>%1 有部分图形在纸张之外（X 或 Y 小于 0）。</source>
        <translation>Parts of %1 lie outside the paper (X or Y below 0).</translation>
    </message>
    <message>
        <source>%1 与 %2 的文件内容相同。</source>
        <translation>%1 has the same contents as %2.</translation>
    </message>
    <message>
        <source>上次保存的任务列表无法读取，已另存为 %1；任务列表为空。</source>
        <translation>The saved task lists could not be read and were set aside as %1; the lists start empty.</translation>
    </message>
    <message>
        <source>%1 中只有文字，没有裁片轮廓。</source>
        <translation>%1 holds nothing but text: no piece outlines.</translation>
    </message>
    <message>
        <source>%1 中有以下内容未绘制：%2。</source>
        <translation>%1 holds what is not drawn: %2.</translation>
    </message>
    <message>
        <source>%1 宽 %2 mm，超出机器可打印宽度 %3 mm。请在 系统设置 ▸ 绘图设置 中勾选“启用分页”，并把“分页宽度”设为不超过 %3 mm。</source>
        <translation>%1 is %2 mm wide; the machine prints at most %3 mm. Tick “Split wide drawings” under System Settings ▸ Plot, with a strip width of at most %3 mm.</translation>
    </message>
</context>
<context>
    <name>OperatorText</name>
    <message>
        <source>文件已不存在（被移走或删除）</source>
        <translation>the file is no longer there (moved or deleted)</translation>
    </message>
    <message>
        <source>没有读取这个文件的权限</source>
        <translation>no permission to read the file</translation>
    </message>
    <message>
        <source>文件是空的或太短</source>
        <translation>the file is empty or too short</translation>
    </message>
    <message>
        <source>文件超过 32 MB</source>
        <translation>the file is larger than 32 MB</translation>
    </message>
    <message>
        <source>文件内容无法作为 HP-GL 读取</source>
        <translation>its contents cannot be read as HP-GL</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>ServicePage</name>
    <message>
        <source>绘图仪</source>
        <translation>Plotter</translation>
    </message>
    <message>
        <source>机器</source>
        <translation>Machine</translation>
    </message>
    <message>
        <source>正在打印</source>
        <translation>Printing now</translation>
    </message>
    <message>
        <source>没有正在打印的作业</source>
        <translation>No job is printing</translation>
    </message>
    <message>
        <source>剩余时间</source>
        <translation>time left</translation>
    </message>
    <message>
        <source>任务列表</source>
        <translation>Queue</translation>
    </message>
    <message>
        <source>列表为空</source>
        <translation>The queue is empty</translation>
    </message>
    <message>
        <source>份数</source>
        <translation>copies</translation>
    </message>
    <message>
        <source>最近打印</source>
        <translation>Printed lately</translation>
    </message>
    <message>
        <source>被拒绝的文件</source>
        <translation>Rejected files</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>not connected</translation>
    </message>
    <message>
        <source>正在启动</source>
        <translation>Starting</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>清洗中</source>
        <translation>Cleaning</translation>
    </message>
    <message>
        <source>处理中</source>
        <translation>Processing</translation>
    </message>
    <message>
        <source>打印中</source>
        <translation>Printing</translation>
    </message>
    <message>
        <source>收尾中</source>
        <translation>Finishing</translation>
    </message>
    <message>
        <source>已暂停</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>内存错误</source>
        <translation>Memory error</translation>
    </message>
    <message>
        <source>复位超时</source>
        <translation>Reset time-out</translation>
    </message>
    <message>
        <source>小车超时</source>
        <translation>Carriage time-out</translation>
    </message>
    <message>
        <source>无应答</source>
        <translation>No answer</translation>
    </message>
    <message>
        <source>自动打印</source>
        <translation>Automatic printing</translation>
    </message>
    <message>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>排队</source>
        <translation>Queue</translation>
    </message>
    <message>
        <source>合计</source>
        <translation>Totals</translation>
    </message>
    <message>
        <source>已结束的作业</source>
        <translation>Ended jobs</translation>
    </message>
    <message>
        <source>已打印</source>
        <translation>printed</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>failed</translation>
    </message>
    <message>
        <source>历史记录未开启 (HistoryEnable=0)</source>
        <translation>The history is off (HistoryEnable=0)</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Sign in</translation>
    </message>
    <message>
        <source>令牌</source>
        <translation>Token</translation>
    </message>
    <message>
        <source>令牌错误</source>
        <translation>Wrong token</translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message>
        <source>鼠标:</source>
        <translation>Mouse:</translation>
    </message>
    <message>
        <source>绘图仪IP:</source>
        <translation>Machine IP:</translation>
    </message>
    <message>
        <source>本地IP:</source>
        <translation>Local IP:</translation>
    </message>
</context>
<context>
    <name>UndoSteps</name>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>份数</source>
        <translation>Copies</translation>
    </message>
    <message>
        <source>排队</source>
        <translation>Queue</translation>
    </message>
    <message>
        <source>取消排队</source>
        <translation>Unqueue</translation>
    </message>
    <message>
        <source>合并</source>
        <translation>Merge</translation>
    </message>
    <message>
        <source>分割</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>镜像</source>
        <translation>Mirror</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>打开任务文件</source>
        <translation>Open Task File</translation>
    </message>
    <message>
        <source>移动</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>(%1 个任务)</source>
        <translation>(%1 tasks)</translation>
    </message>
</context>
<context>
    <name>inkvale::CAboutDialog</name>
    <message>
        <source>关于Inkvale</source>
        <translation>About Inkvale</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>inkvale::CPasswordDialog</name>
    <message>
        <source>输入</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>请输入密码:</source>
        <translation>Please enter the password:</translation>
    </message>
</context>
<context>
    <name>inkvale::CMachineParamsDialog</name>
    <message>
        <source>机器设置</source>
        <translation>Machine Settings</translation>
    </message>
    <message>
        <source>喷头参数</source>
        <translation>Print Heads</translation>
    </message>
    <message>
        <source>喷头组合：</source>
        <translation>Head combination:</translation>
    </message>
    <message>
        <source>双向打印</source>
        <translation>Bidirectional printing</translation>
    </message>
    <message>
        <source>平板打印（打完回纸）</source>
        <translation>Flatbed (paper back after printing)</translation>
    </message>
    <message>
        <source>左列出墨</source>
        <translation>Left column inks</translation>
    </message>
    <message>
        <source>右列出墨</source>
        <translation>Right column inks</translation>
    </message>
    <message>
        <source>精打模式</source>
        <translation>Fine mode</translation>
    </message>
    <message>
        <source>边线调整</source>
        <translation>Edge Adjustment</translation>
    </message>
    <message>
        <source>机械参数</source>
        <translation>Mechanics</translation>
    </message>
    <message>
        <source>走纸轴步长基准</source>
        <translation>Feed roller step base</translation>
    </message>
    <message>
        <source>裁断功能</source>
        <translation>Cutter</translation>
    </message>
    <message>
        <source>裁断刀压</source>
        <translation>Cutter pressure</translation>
    </message>
    <message>
        <source>第1刀</source>
        <translation>Knife 1</translation>
    </message>
    <message>
        <source>第2刀</source>
        <translation>Knife 2</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>截图保存</source>
        <translation>Save Screenshot</translation>
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
        <source>喷头1</source>
        <translation>head 1</translation>
    </message>
    <message>
        <source>喷头2</source>
        <translation>head 2</translation>
    </message>
    <message>
        <source>喷头3</source>
        <translation>head 3</translation>
    </message>
    <message>
        <source>喷头4</source>
        <translation>head 4</translation>
    </message>
    <message>
        <source>左</source>
        <translation>left</translation>
    </message>
    <message>
        <source>右</source>
        <translation>right</translation>
    </message>
    <message>
        <source>起点</source>
        <translation>start</translation>
    </message>
    <message>
        <source>终点</source>
        <translation>end</translation>
    </message>
    <message>
        <source>Pix</source>
        <translation>pix</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>喷头之间X向重合点数</source>
        <translation>Head overlap in X</translation>
    </message>
    <message>
        <source>1#2#之间</source>
        <translation>1#-2#</translation>
    </message>
    <message>
        <source>2#3#之间</source>
        <translation>2#-3#</translation>
    </message>
    <message>
        <source>3#4#之间</source>
        <translation>3#-4#</translation>
    </message>
    <message>
        <source>喷头位置</source>
        <translation>Head position</translation>
    </message>
    <message>
        <source>回来接线</source>
        <translation>Return stitch</translation>
    </message>
    <message>
        <source>点火脉宽</source>
        <translation>Fire pulse width</translation>
    </message>
    <message>
        <source>微秒</source>
        <translation>µs</translation>
    </message>
    <message>
        <source>喷头左右两列间距</source>
        <translation>Spacing of a head&apos;s two columns</translation>
    </message>
    <message>
        <source>缓冲距离</source>
        <translation>Buffer distance</translation>
    </message>
    <message>
        <source>边距</source>
        <translation>Margin</translation>
    </message>
    <message>
        <source>像素</source>
        <translation>pixels</translation>
    </message>
    <message>
        <source>小车行程限制</source>
        <translation>Carriage travel limit</translation>
    </message>
    <message>
        <source>刹车距离</source>
        <translation>Brake distance</translation>
    </message>
    <message>
        <source>小车起始速度</source>
        <translation>Carriage start speed</translation>
    </message>
    <message>
        <source>小车最大速度</source>
        <translation>Carriage top speed</translation>
    </message>
    <message>
        <source>进退纸速度</source>
        <translation>Paper feed speed</translation>
    </message>
</context>
<context>
    <name>inkvale::CMachineAddressDialog</name>
    <message>
        <source>网络设置</source>
        <translation>Network Settings</translation>
    </message>
    <message>
        <source>绘图仪IP</source>
        <translation>Plotter IP</translation>
    </message>
    <message>
        <source>提示1：将绘图仪IP的前3段和电脑IP前3段的数字设置成一样才能正常联机</source>
        <translation>Note 1: the first three numbers of the plotter&apos;s IP must equal the first three numbers of this computer&apos;s IP, or they cannot connect.</translation>
    </message>
    <message>
        <source>提示2：开机时按住“暂停/启动键”3秒，机器IP会恢复为默认值 (192.168.1.175)</source>
        <translation>Note 2: holding the “Pause/Start” key for 3 seconds while switching the plotter on restores its default IP (192.168.1.175).</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>inkvale::COffsetDialog</name>
    <message>
        <source>左偏移设定</source>
        <translation>Left Offset</translation>
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
        <source>左偏移</source>
        <translation>Left offset</translation>
    </message>
</context>
<context>
    <name>inkvale::CHpglUnitDialog</name>
    <message>
        <source>下次打开plt时不弹出此对话框</source>
        <translation>Do not show this dialog when the next plt file is opened</translation>
    </message>
    <message>
        <source>plt文件单位</source>
        <translation>PLT File Unit</translation>
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
        <source>绘图单位</source>
        <translation>Plotter Units</translation>
    </message>
</context>
<context>
    <name>inkvale::CSettingsDialog</name>
    <message>
        <source>系统设置</source>
        <translation>System Settings</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>inkvale::CPreviewView</name>
    <message>
        <source>适合整个图形</source>
        <translation>Fit Whole Drawing</translation>
    </message>
</context>
<context>
    <name>inkvale::CLoadProgress</name>
    <message>
        <source>正在读取 %1 ...</source>
        <translation>Reading %1 ...</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>inkvale::CUserSettingsPage</name>
    <message>
        <source>手动打开时文件过滤</source>
        <translation>Files Offered by Add</translation>
    </message>
    <message>
        <source>所有文件(*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>HPGL文件(*.p*;*.h*;*.spl)</source>
        <translation>HP-GL files (*.p*;*.h*;*.spl)</translation>
    </message>
    <message>
        <source>dxf文件(*.dxf)</source>
        <translation>DXF files (*.dxf)</translation>
    </message>
    <message>
        <source>支持的文件(*.p*;*.h*;*.spl;*.dxf)</source>
        <translation>Supported files (*.p*;*.h*;*.spl;*.dxf)</translation>
    </message>
    <message>
        <source>背景颜色</source>
        <translation>Background Colour</translation>
    </message>
    <message>
        <source>坐标和外框颜色</source>
        <translation>Axes and Frame Colour</translation>
    </message>
    <message>
        <source>网格颜色</source>
        <translation>Grid Colour</translation>
    </message>
    <message>
        <source>线条颜色</source>
        <translation>Line Colour</translation>
    </message>
    <message>
        <source>文件添加到列表后自动预览</source>
        <translation>Preview a file when it is added to the list</translation>
    </message>
    <message>
        <source>自动删除份数为0的项</source>
        <translation>Remove tasks with no copies left</translation>
    </message>
    <message>
        <source>在图形结尾打印文件名</source>
        <translation>Print the file name after the drawing</translation>
    </message>
    <message>
        <source>打印开始前清洗喷头</source>
        <translation>Clean the heads before printing</translation>
    </message>
    <message>
        <source>分页指令处理方式</source>
        <translation>Page command handling</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>喷头清洗浓度</source>
        <translation>Head cleaning strength</translation>
    </message>
    <message>
        <source>方式1</source>
        <translation>Type1</translation>
    </message>
    <message>
        <source>方式2</source>
        <translation>Type2</translation>
    </message>
</context>
<context>
    <name>inkvale::CDirectorySettingsPage</name>
    <message>
        <source>手动目录</source>
        <translation>Manual folder</translation>
    </message>
    <message>
        <source>自动目录</source>
        <translation>Automatic folder</translation>
    </message>
    <message>
        <source>备份目录</source>
        <translation>Backup folder</translation>
    </message>
    <message>
        <source>打印历史</source>
        <translation>Print history</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Change...</translation>
    </message>
    <message>
        <source>自动备份已打印的文件</source>
        <translation>Back up printed files</translation>
    </message>
    <message>
        <source>保存打印历史</source>
        <translation>Keep a print history</translation>
    </message>
    <message>
        <source>线条加黑</source>
        <translation>Bold lines</translation>
    </message>
    <message>
        <source>文件过滤：</source>
        <translation>File filter:</translation>
    </message>
    <message>
        <source>logo设置:</source>
        <translation>Logo text:</translation>
    </message>
    <message>
        <source>线条粗细设置</source>
        <translation>Line Width</translation>
    </message>
    <message>
        <source>像素</source>
        <translation> px</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>备份目录不能是自动目录或手动目录，也不能在其中。</source>
        <translation>The backup folder may not be the automatic or manual folder, nor lie inside one.</translation>
    </message>
    <message>
        <source>没有文件模式：文件夹不会取任何文件。</source>
        <translation>No file pattern: the folders take no files.</translation>
    </message>
    <message>
        <source>文件夹取用：%1（不区分大小写）</source>
        <translation>The folders take: %1 (case ignored)</translation>
    </message>
</context>
<context>
    <name>inkvale::CPlotSettingsPage</name>
    <message>
        <source>比例参数存于主板</source>
        <translation>Scale factors kept in the plotter</translation>
    </message>
    <message>
        <source>比例参数存于电脑</source>
        <translation>Scale factors kept in this computer</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>启用分页</source>
        <translation>Split wide drawings</translation>
    </message>
    <message>
        <source>分页前先旋转</source>
        <translation>Rotate before splitting</translation>
    </message>
    <message>
        <source>是否镜像</source>
        <translation>Mirror</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>设计尺寸</source>
        <translation>Design size</translation>
    </message>
    <message>
        <source>实测尺寸</source>
        <translation>Measured size</translation>
    </message>
    <message>
        <source>比例系数</source>
        <translation>Scale factor</translation>
    </message>
    <message>
        <source>纸长</source>
        <translation>Paper length</translation>
    </message>
    <message>
        <source>纸宽</source>
        <translation>Paper width</translation>
    </message>
    <message>
        <source>分页宽度</source>
        <translation>Strip width</translation>
    </message>
    <message>
        <source>分页间距</source>
        <translation>Strip gap</translation>
    </message>
    <message>
        <source>打印前进纸</source>
        <translation>Feed before printing</translation>
    </message>
    <message>
        <source>打印后进纸</source>
        <translation>Feed after printing</translation>
    </message>
    <message>
        <source>Dxf文件单位</source>
        <translation>DXF file unit</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
</context>
</TS>
