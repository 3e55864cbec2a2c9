<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>Localizable</name>
    <message>
        <source>New File</source>
        <translation>新建文件</translation>
    </message>
    <message>
        <source>Common Path</source>
        <translation>常用文件夹</translation>
    </message>
    <message>
        <source>Common App</source>
        <translation>常用应用</translation>
    </message>
    <message>
        <source>Folder Icon</source>
        <translation>文件夹图标</translation>
    </message>
    <message>
        <source>Execute Script</source>
        <translation>执行脚本</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>复制到常用文件夹</translation>
    </message>
    <message>
        <source>Move to</source>
        <translation>移动到常用文件夹</translation>
    </message>
    <message>
        <source>Convert to</source>
        <translation>转换为</translation>
    </message>
    <message>
        <source>Cut Paste</source>
        <translation>剪切粘贴</translation>
    </message>
    <message>
        <source>Lock and Unlock</source>
        <translation>加锁/解锁</translation>
    </message>
    <message>
        <source>Encrypted Compression</source>
        <translation>加密压缩</translation>
    </message>
    <message>
        <source>Embed in Folder</source>
        <translation>放入新文件夹</translation>
    </message>
    <message>
        <source>Unembed Folder</source>
        <translation>解散文件夹</translation>
    </message>
    <message>
        <source>Color Picker</source>
        <translation>取色器</translation>
    </message>
    <message>
        <source>Extract Icon</source>
        <translation>提取图标</translation>
    </message>
    <message>
        <source>File Info</source>
        <translation>文件校验值</translation>
    </message>
    <message>
        <source>Terminal Window</source>
        <translation>新建终端窗口</translation>
    </message>
    <message>
        <source>Terminal Tab</source>
        <translation>新建终端标签页</translation>
    </message>
    <message>
        <source>Terminal To</source>
        <translation>在终端中打开</translation>
    </message>
    <message>
        <extracomment>The second terminal is the emulator the user picks in Preferences.</extracomment>
        <source>iTerm2 Window</source>
        <translation>第二终端窗口</translation>
    </message>
    <message>
        <extracomment>The second terminal is the emulator the user picks in Preferences.</extracomment>
        <source>iTerm2 Tab</source>
        <translation>第二终端标签页</translation>
    </message>
    <message>
        <extracomment>The second terminal is the emulator the user picks in Preferences.</extracomment>
        <source>iTerm2 To</source>
        <translation>在第二终端中打开</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>复制路径</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>立即删除</translation>
    </message>
    <message>
        <source>Hide Selected Files</source>
        <translation>隐藏所选项目</translation>
    </message>
    <message>
        <source>Hide All Files</source>
        <translation>隐藏全部项目</translation>
    </message>
    <message>
        <source>Unhide All Files</source>
        <translation>取消隐藏全部项目</translation>
    </message>
    <message>
        <source>System Hide Files</source>
        <translation>显示/隐藏隐藏文件</translation>
    </message>
    <message>
        <source>New File From Window</source>
        <translation>自选位置和类型…</translation>
    </message>
    <message>
        <source>Add to File Template</source>
        <translation>添加为模板</translation>
    </message>
    <message>
        <source>Go Set</source>
        <translation>Pallstone 设置…</translation>
    </message>
    <message>
        <extracomment>Put in front of an application name without a space: keep the trailing space where the language needs one.</extracomment>
        <source>Open With</source>
        <translation>打开方式：</translation>
    </message>
    <message>
        <extracomment>The program name as shown to the user.</extracomment>
        <source>Pallstone</source>
        <translation>Pallstone</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Check Delete Sure</source>
        <translation>删除前确认</translation>
    </message>
    <message>
        <source>Check Hide MainMenu Icon</source>
        <translation>隐藏主菜单图标</translation>
    </message>
    <message>
        <source>Check Hide Set Menu</source>
        <translation>在菜单中隐藏“Pallstone 设置…”</translation>
    </message>
    <message>
        <source>Check External Disks Enable</source>
        <translation>在外接磁盘上也显示菜单</translation>
    </message>
    <message>
        <source>Check Hide SubMenu Icon</source>
        <translation>隐藏子菜单图标</translation>
    </message>
    <message>
        <source>Check Show Top StatusBar</source>
        <translation>显示托盘图标，关闭窗口后继续运行</translation>
    </message>
    <message>
        <source>Check Copy HEX</source>
        <translation>复制颜色时带 # 前缀</translation>
    </message>
    <message>
        <source>WeChat</source>
        <translation>微信</translation>
    </message>
    <message>
        <source>Visual Studio Code</source>
        <translation>Visual Studio Code</translation>
    </message>
    <message>
        <source>Sublime Text</source>
        <translation>Sublime Text</translation>
    </message>
    <message>
        <source>Android Studio</source>
        <translation>Android Studio</translation>
    </message>
    <message>
        <source>IntelliJ IDEA</source>
        <translation>IntelliJ IDEA</translation>
    </message>
    <message>
        <source>WebStorm</source>
        <translation>WebStorm</translation>
    </message>
    <message>
        <source>PyCharm</source>
        <translation>PyCharm</translation>
    </message>
    <message>
        <source>PhpStorm</source>
        <translation>PhpStorm</translation>
    </message>
    <message>
        <source>GoLand</source>
        <translation>GoLand</translation>
    </message>
    <message>
        <source>Warp</source>
        <translation>Warp</translation>
    </message>
    <message>
        <source>Emacs</source>
        <translation>Emacs</translation>
    </message>
    <message>
        <source>New File Introduce</source>
        <translation>用模板在当前文件夹中新建文件。</translation>
    </message>
    <message>
        <source>Common Path Introduce</source>
        <translation>打开常用文件夹或其中的文件，或用常用应用打开它。</translation>
    </message>
    <message>
        <source>Common App Introduce</source>
        <translation>用常用应用打开所选项目或当前文件夹。</translation>
    </message>
    <message>
        <source>Folder Icon Introduce</source>
        <translation>为所选文件夹设置图标，或恢复其原来的图标。</translation>
    </message>
    <message>
        <source>Execute Script Introduce</source>
        <translation>运行所选的 Shell 脚本。</translation>
    </message>
    <message>
        <source>Copy to Introduce</source>
        <translation>将所选项目复制到常用文件夹或你选择的文件夹。</translation>
    </message>
    <message>
        <source>Move to Introduce</source>
        <translation>将所选项目移动到常用文件夹或你选择的文件夹。</translation>
    </message>
    <message>
        <source>Convert to Introduce</source>
        <translation>将所选图片转换为其他格式或图标集，或合并为一个 PDF。</translation>
    </message>
    <message>
        <source>Cut Paste Introduce</source>
        <translation>剪切所选项目，然后在另一个文件夹的空白处菜单中粘贴。</translation>
    </message>
    <message>
        <source>Lock and Unlock Introduce</source>
        <translation>锁定所选项目以防被修改，或重新解锁。</translation>
    </message>
    <message>
        <source>Encrypted Compression Introduce</source>
        <translation>将所选项目压缩为有密码保护的压缩包。</translation>
    </message>
    <message>
        <source>Embed in Folder Introduce</source>
        <translation>将所选项目移入一个由你命名的新文件夹。</translation>
    </message>
    <message>
        <source>Unembed Folder Introduce</source>
        <translation>将所选文件夹中的内容移到上一级，并删除已清空的文件夹。</translation>
    </message>
    <message>
        <source>Color Picker Introduce</source>
        <translation>在屏幕任意位置取色并复制色值。</translation>
    </message>
    <message>
        <source>Extract Icon Introduce</source>
        <translation>将所选项目的图标保存为图片。</translation>
    </message>
    <message>
        <source>File Info Introduce</source>
        <translation>显示所选文件的 MD5、SHA-1、SHA-256、SHA-512 或 CRC-32 校验值，并可复制。</translation>
    </message>
    <message>
        <source>Terminal Window Introduce</source>
        <translation>在当前文件夹中打开终端窗口。</translation>
    </message>
    <message>
        <source>Terminal Tab Introduce</source>
        <translation>在当前文件夹中打开终端标签页；终端不支持标签页时打开窗口。</translation>
    </message>
    <message>
        <source>Terminal To Introduce</source>
        <translation>在常用文件夹或你选择的文件夹中打开终端。</translation>
    </message>
    <message>
        <source>iTerm2 Window Introduce</source>
        <translation>在当前文件夹中打开第二终端（在偏好设置中选择）的窗口。</translation>
    </message>
    <message>
        <source>iTerm2 Tab Introduce</source>
        <translation>在当前文件夹中打开第二终端的标签页。</translation>
    </message>
    <message>
        <source>iTerm2 To Introduce</source>
        <translation>在常用文件夹或你选择的文件夹中打开第二终端。</translation>
    </message>
    <message>
        <source>Copy Path Introduce</source>
        <translation>复制所选项目的完整路径，每行一个。</translation>
    </message>
    <message>
        <source>Delete Introduce</source>
        <translation>立即删除所选项目，不移到回收站。</translation>
    </message>
    <message>
        <source>Hide Selected Files Introduce</source>
        <translation>在文件管理器中隐藏所选项目。</translation>
    </message>
    <message>
        <source>Hide All Files Introduce</source>
        <translation>在文件管理器中隐藏当前文件夹中的全部项目。</translation>
    </message>
    <message>
        <source>Unhide All Files Introduce</source>
        <translation>重新显示当前文件夹中所有被隐藏的项目。</translation>
    </message>
    <message>
        <source>System Hide Files Introduce</source>
        <translation>选择文件管理器和文件对话框是否显示隐藏文件；相应命令会被复制，供你在终端中运行。</translation>
    </message>
    <message>
        <source>General</source>
        <translation>通用</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>偏好设置</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Add Right Menu</source>
        <translation>添加菜单项</translation>
    </message>
    <message>
        <source>Add File Type Title</source>
        <translation>新建文件类型</translation>
    </message>
    <message>
        <source>Add to File Template Tip</source>
        <translation>新类型会出现在右键菜单的“新建文件”子菜单中。</translation>
    </message>
    <message>
        <source>Add to main menu</source>
        <translation>添加到主菜单</translation>
    </message>
    <message>
        <source>Folder Exist Tip</source>
        <translation>该文件夹已在列表中。</translation>
    </message>
    <message>
        <source>App Exist Tip</source>
        <translation>该应用已在列表中。</translation>
    </message>
    <message>
        <source>App Name</source>
        <translation>应用名称</translation>
    </message>
    <message>
        <source>Bridge</source>
        <translation>菜单插件</translation>
    </message>
    <message>
        <source>Check External Disks Enable Tip</source>
        <translation>在 U 盘等已挂载的外部磁盘上也显示菜单。更改此项会重启菜单服务。</translation>
    </message>
    <message>
        <source>Choose Application</source>
        <translation>选择应用</translation>
    </message>
    <message>
        <source>Choose Desktop File</source>
        <translation>选择 .desktop 文件…</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清空</translation>
    </message>
    <message>
        <source>Clear Tip</source>
        <translation>列表中的所有文件夹都将被移除，文件夹本身保持不变。</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Config Manager</source>
        <translation>配置方案</translation>
    </message>
    <message>
        <source>Display Name</source>
        <translation>显示名称</translation>
    </message>
    <message>
        <source>Double Click Change</source>
        <translation>双击修改</translation>
    </message>
    <message>
        <source>Drag Sort</source>
        <translation>拖动排序</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>Enable the right-click menu</source>
        <translation>启用右键菜单</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Extension</source>
        <translation>扩展名</translation>
    </message>
    <message>
        <source>File Manager</source>
        <translation>文件管理器</translation>
    </message>
    <message>
        <source>File Manager Extensions</source>
        <translation>文件管理器扩展</translation>
    </message>
    <message>
        <source>File Manager Extensions Tip</source>
        <translation>Pallstone 通过每个文件管理器的小插件添加菜单。新安装的插件要在文件管理器重启后才会生效。</translation>
    </message>
    <message>
        <source>File Type</source>
        <translation>文件类型</translation>
    </message>
    <message>
        <source>Finder Sync Tip</source>
        <translation>此系统上的文件管理器都还没有安装 Pallstone 插件。主窗口顶部列出了你的每个文件管理器，以及安装其插件的步骤。</translation>
    </message>
    <message>
        <source>Go Review</source>
        <translation>访问项目主页</translation>
    </message>
    <message>
        <source>Installed</source>
        <translation>已安装</translation>
    </message>
    <message>
        <source>Menu Abount</source>
        <translation>关于 %@</translation>
    </message>
    <message>
        <source>Menu Feedback</source>
        <translation>%@ 反馈</translation>
    </message>
    <message>
        <source>Menu Name</source>
        <translation>菜单名称</translation>
    </message>
    <message>
        <source>Menu Quit</source>
        <translation>退出 %@</translation>
    </message>
    <message>
        <source>Modify Icon Tip</source>
        <translation>点击图标可选择其他图片。</translation>
    </message>
    <message>
        <source>Name Not Allowed Tip</source>
        <translation>名称不能包含“/”，也不能是“.”或“..”。</translation>
    </message>
    <message>
        <source>New File Finished Checked Tip</source>
        <translation>新建文件后立即打开</translation>
    </message>
    <message>
        <source>No Menu To Add Tip</source>
        <translation>默认菜单中的所有项都已在列表中。</translation>
    </message>
    <message>
        <source>No Template Tip</source>
        <translation>不选择模板时，新建的文件为空文件。</translation>
    </message>
    <message>
        <source>Not Desktop File Tip</source>
        <translation>该文件不是有效的应用条目（.desktop 文件）。</translation>
    </message>
    <message>
        <source>Not Installed</source>
        <translation>未安装</translation>
    </message>
    <message>
        <source>Only Show Sub-Files Tip</source>
        <translation>最多显示文件夹中的 %@ 项。</translation>
    </message>
    <message>
        <source>Open System Preferences</source>
        <translation>设置文件管理器</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Please enter a display name</source>
        <translation>请输入显示名称</translation>
    </message>
    <message>
        <source>PopMenu Not Show Submenu</source>
        <translation>不显示子菜单</translation>
    </message>
    <message>
        <source>PopMenu Show Apps</source>
        <translation>显示应用</translation>
    </message>
    <message>
        <source>PopMenu Show Sub-Files</source>
        <translation>显示文件夹内容</translation>
    </message>
    <message>
        <source>PopMenu Show Sub-Files And Apps</source>
        <translation>显示文件夹内容和应用</translation>
    </message>
    <message>
        <source>Recommend it</source>
        <translation>推荐给朋友</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>恢复默认</translation>
    </message>
    <message>
        <source>Recover Tip</source>
        <translation>你对此列表所做的修改将会丢失。</translation>
    </message>
    <message>
        <source>Restart File Manager</source>
        <translation>重启文件管理器</translation>
    </message>
    <message>
        <source>Restart Tip</source>
        <translation>修改会在下次打开右键菜单时生效。</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>Second Terminal</source>
        <translation>第二终端</translation>
    </message>
    <message>
        <source>Second Terminal Default</source>
        <translation>下一个已安装的终端</translation>
    </message>
    <message>
        <source>Second Terminal Tip</source>
        <translation>“第二终端”菜单项会打开此终端。</translation>
    </message>
    <message>
        <source>Special File</source>
        <translation>特殊文件</translation>
    </message>
    <message>
        <source>Special FileName Placeholder</source>
        <translation>例如：.gitignore</translation>
    </message>
    <message>
        <source>Submenu Limit Tip</source>
        <translation>请先删除一项，再添加新的。</translation>
    </message>
    <message>
        <source>Template Copy Failed Tip</source>
        <translation>无法复制模板文件，未添加任何内容。</translation>
    </message>
    <message>
        <source>The address was copied to the clipboard</source>
        <translation>网址已复制到剪贴板。</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <source>Use Pallstone</source>
        <translation>使用 Pallstone</translation>
    </message>
    <message>
        <source>Without Display Name Tip</source>
        <translation>留空则使用默认名称</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>docx</source>
        <translation>Word 文档</translation>
    </message>
    <message>
        <source>eg:</source>
        <translation>例如：</translation>
    </message>
    <message>
        <source>Default Name</source>
        <translation>默认名称</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>文件名</translation>
    </message>
    <message>
        <source>File Icon</source>
        <translation>文件图标</translation>
    </message>
    <message>
        <source>File Template</source>
        <translation>模板</translation>
    </message>
    <message>
        <source>Modify Template</source>
        <translation>更换模板…</translation>
    </message>
    <message>
        <source>Select Template</source>
        <translation>选择模板…</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>Switch</source>
        <translation>切换</translation>
    </message>
    <message>
        <source>Config Name</source>
        <translation>配置名称</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>创建日期</translation>
    </message>
    <message>
        <source>Export Select Config</source>
        <translation>导出所选配置…</translation>
    </message>
    <message>
        <source>Save Current Config</source>
        <translation>保存当前配置…</translation>
    </message>
    <message>
        <source>Import Config</source>
        <translation>导入配置…</translation>
    </message>
    <message>
        <source>Save Config</source>
        <translation>导出到此处</translation>
    </message>
    <message>
        <source>Delete Config</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Input Config Name Tip</source>
        <translation>请输入配置名称：</translation>
    </message>
    <message>
        <source>Setup Config Tip</source>
        <translation>它的菜单列表、模板、图标和偏好设置将替换当前的配置。如需保留当前配置，请先保存。</translation>
    </message>
    <message>
        <source>Config File Error Tip</source>
        <translation>该文件不是 Pallstone 配置文件，或无法用配置密码打开。</translation>
    </message>
    <message>
        <source>Config Busy Tip</source>
        <translation>正在保存或切换配置，请在完成后再试。</translation>
    </message>
    <message>
        <source>Config Failed Tip</source>
        <translation>无法保存或恢复配置：%1</translation>
    </message>
    <message>
        <source>Select Folder Icon</source>
        <translation>选择文件夹图标</translation>
    </message>
    <message>
        <source>Make Folder Icon</source>
        <translation>制作文件夹图标</translation>
    </message>
    <message>
        <source>Select Icon</source>
        <translation>选择图标</translation>
    </message>
    <message>
        <source>Folder Color</source>
        <translation>文件夹颜色</translation>
    </message>
    <message>
        <source>Symbol Color</source>
        <translation>符号颜色</translation>
    </message>
    <message>
        <source>Font Unreadable Tip</source>
        <translation>无法将此文件作为字体读取，符号保持不变。</translation>
    </message>
    <message>
        <source>Picture Unreadable Tip</source>
        <translation>无法将此文件作为图片读取，未添加任何内容。</translation>
    </message>
    <message>
        <source>Folder Icon Save Failed Tip</source>
        <translation>无法保存文件夹图标，请检查磁盘是否还有剩余空间。</translation>
    </message>
    <message>
        <source>love</source>
        <translation>爱心</translation>
    </message>
    <message>
        <source>google</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>java</source>
        <translation>咖啡</translation>
    </message>
    <message>
        <source>qq</source>
        <translation>聊天</translation>
    </message>
    <message>
        <source>zapier</source>
        <translation>闪电</translation>
    </message>
    <message>
        <source>pyq</source>
        <translation>相机</translation>
    </message>
    <message>
        <source>html5</source>
        <translation>代码</translation>
    </message>
    <message>
        <source>twitter</source>
        <translation>转发</translation>
    </message>
    <message>
        <source>ding</source>
        <translation>铃铛</translation>
    </message>
    <message>
        <source>skype</source>
        <translation>电话</translation>
    </message>
    <message>
        <source>apple</source>
        <translation>笔记本电脑</translation>
    </message>
    <message>
        <source>share</source>
        <translation>分享</translation>
    </message>
    <message>
        <source>wechat</source>
        <translation>对话</translation>
    </message>
    <message>
        <source>weibo</source>
        <translation>喇叭</translation>
    </message>
    <message>
        <source>youtube</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>wepay</source>
        <translation>支付</translation>
    </message>
    <message>
        <source>react</source>
        <translation>齿轮</translation>
    </message>
    <message>
        <source>erji</source>
        <translation>耳机</translation>
    </message>
    <message>
        <source>question</source>
        <translation>问号</translation>
    </message>
    <message>
        <source>star</source>
        <translation>星星</translation>
    </message>
    <message>
        <source>Submenu Limit Heading</source>
        <translation>列表已满</translation>
    </message>
    <message>
        <source>No Menu To Add Heading</source>
        <translation>没有可添加的项目</translation>
    </message>
    <message>
        <source>App Exist Heading</source>
        <translation>已在列表中</translation>
    </message>
    <message>
        <source>Picture Unreadable Heading</source>
        <translation>不是图片</translation>
    </message>
    <message>
        <source>Font Unreadable Heading</source>
        <translation>不是图标字体</translation>
    </message>
    <message>
        <source>Folder Icon Save Failed Heading</source>
        <translation>文件夹图标未保存</translation>
    </message>
    <message>
        <source>Template Copy Failed Heading</source>
        <translation>模板未添加</translation>
    </message>
    <message>
        <source>Not Desktop File Heading</source>
        <translation>不是应用程序</translation>
    </message>
    <message>
        <source>Recover Heading</source>
        <translation>要恢复默认列表吗？</translation>
    </message>
    <message>
        <source>Clear Heading</source>
        <translation>要清空列表吗？</translation>
    </message>
    <message>
        <source>Config Busy Heading</source>
        <translation>另一项配置任务正在进行</translation>
    </message>
    <message>
        <source>Config File Error Heading</source>
        <translation>不是配置文件</translation>
    </message>
    <message>
        <source>Config Failed Heading</source>
        <translation>配置操作失败</translation>
    </message>
    <message>
        <source>Setup Config Heading</source>
        <translation>要切换到此配置吗？</translation>
    </message>
    <message>
        <source>Extension Not Installed Heading</source>
        <translation>右键菜单尚未安装</translation>
    </message>
    <message>
        <source>Extension Switched Off Heading</source>
        <translation>右键菜单已关闭</translation>
    </message>
    <message>
        <source>Extension Switched Off Tip</source>
        <translation>Pallstone 插件已安装，但在所有装有它的文件管理器中都已关闭。“设置文件管理器”会打开文件管理器列表，你可以在那里重新打开它。</translation>
    </message>
    <message>
        <source>About Version</source>
        <translation>版本 %@</translation>
    </message>
    <message>
        <source>About Description</source>
        <translation>为 Linux 文件管理器打造的可定制右键菜单。</translation>
    </message>
    <message>
        <source>About Licence</source>
        <translation>自由软件，依据 %@ 许可证发布。</translation>
    </message>
    <message>
        <source>Template Chosen Tip</source>
        <translation>新文件将以“%@”的副本开始。</translation>
    </message>
    <message>
        <source>State</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>File Manager Absent</source>
        <translation>未安装此文件管理器</translation>
    </message>
    <message>
        <source>Plug-in Not Installed</source>
        <translation>插件未安装</translation>
    </message>
    <message>
        <source>Menu Switched Off</source>
        <translation>已关闭</translation>
    </message>
    <message>
        <source>Menu Active</source>
        <translation>菜单已启用</translation>
    </message>
    <message>
        <source>Plug-in Folders Tip</source>
        <translation>在以下位置查找插件：</translation>
    </message>
    <message>
        <source>Files (Nautilus)</source>
        <translation>文件（Nautilus）</translation>
    </message>
    <message>
        <source>Empty Favourites Tip</source>
        <translation>还没有常用文件夹。添加一个你经常使用的文件夹，即可在右键菜单中打开它，或将文件复制、移动到那里。</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>添加文件夹…</translation>
    </message>
    <message>
        <source>Empty Apps Tip</source>
        <translation>还没有常用应用程序。添加你最常用来打开文件的应用程序。</translation>
    </message>
    <message>
        <source>Add Application</source>
        <translation>添加应用程序…</translation>
    </message>
    <message>
        <source>Empty Folder Icons Tip</source>
        <translation>还没有文件夹图标。可以用颜色和符号制作一个，或通过“添加”选择一张图片。</translation>
    </message>
    <message>
        <source>Empty Menu Tip</source>
        <translation>右键菜单中没有任何项目。添加你需要的项目，或恢复默认菜单。</translation>
    </message>
    <message>
        <source>Hint Brackets</source>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>Hint Separator</source>
        <translation>，</translation>
    </message>
    <message>
        <source>Field Label</source>
        <translation>%1：</translation>
    </message>
    <message>
        <source>App Not Installed Tip</source>
        <translation>这台电脑上没有安装这个应用，菜单中不显示它。安装该应用后会自动重新出现。</translation>
    </message>
    <message>
        <source>txt</source>
        <translation>文本文档</translation>
    </message>
    <message>
        <source>rtf</source>
        <translation>RTF 文档</translation>
    </message>
    <message>
        <source>json</source>
        <translation>JSON 文件</translation>
    </message>
    <message>
        <source>xlsx</source>
        <translation>Excel 工作表</translation>
    </message>
    <message>
        <source>pptx</source>
        <translation>PowerPoint 演示文稿</translation>
    </message>
    <message>
        <source>pages</source>
        <translation>Pages 文稿</translation>
    </message>
    <message>
        <source>numbers</source>
        <translation>Numbers 表格</translation>
    </message>
    <message>
        <source>key</source>
        <translation>Keynote 演示文稿</translation>
    </message>
    <message>
        <source>md</source>
        <translation>Markdown 文档</translation>
    </message>
    <message>
        <source>wps</source>
        <translation>WPS 文字文档</translation>
    </message>
    <message>
        <source>et</source>
        <translation>WPS 表格</translation>
    </message>
    <message>
        <source>dps</source>
        <translation>WPS 演示文稿</translation>
    </message>
    <message>
        <source>html</source>
        <translation>HTML 文档</translation>
    </message>
    <message>
        <source>xml</source>
        <translation>XML 文档</translation>
    </message>
    <message>
        <source>css</source>
        <translation>CSS 样式表</translation>
    </message>
    <message>
        <source>js</source>
        <translation>JavaScript 文件</translation>
    </message>
    <message>
        <source>py</source>
        <translation>Python 脚本</translation>
    </message>
    <message>
        <source>sh</source>
        <translation>Shell 脚本</translation>
    </message>
    <message>
        <source>odt</source>
        <translation>OpenDocument 文本文档</translation>
    </message>
    <message>
        <source>ods</source>
        <translation>OpenDocument 电子表格</translation>
    </message>
    <message>
        <source>odp</source>
        <translation>OpenDocument 演示文稿</translation>
    </message>
    <message>
        <source>Setup Banner Tip</source>
        <translation>文件管理器装入 Pallstone 插件后才会出现右键菜单。请在终端中运行对应文件管理器的步骤，然后重启该文件管理器：</translation>
    </message>
    <message>
        <source>Setup Banner No File Manager</source>
        <translation>这台电脑上没有安装任何受支持的文件管理器（文件、Nemo、Caja、Thunar、Dolphin）。</translation>
    </message>
    <message>
        <source>Enable Greyed Tip</source>
        <translation>文件管理器装入 Pallstone 插件后才能使用，请参阅窗口顶部的说明。</translation>
    </message>
    <message>
        <source>Keyboard Shortcut</source>
        <translation>键盘快捷键</translation>
    </message>
    <message>
        <source>Keyboard Shortcut Tip</source>
        <translation>打开命令面板：文件管理器当前所示内容的菜单，输入即可筛选。</translation>
    </message>
    <message>
        <source>Palette Shortcut Registered</source>
        <translation>%1 已在桌面注册：按下即打开命令面板。</translation>
    </message>
    <message>
        <source>Palette Shortcut Removed</source>
        <translation>该按键已不再在桌面注册。</translation>
    </message>
    <message>
        <source>Palette Shortcut By Hand</source>
        <translation>无法在此为该桌面设置快捷键（桌面的快捷键门户、Plasma 5、GNOME、Cinnamon 和 MATE 可以）。请在桌面的键盘设置中手动添加 %1，命令为：%2</translation>
    </message>
    <message>
        <source>Palette Shortcut Portal Registered</source>
        <translation>%1 已通过桌面的快捷键门户注册：Pallstone 服务运行时按下即打开命令面板。桌面可能会请你确认该按键，之后也可在其键盘设置中更改。</translation>
    </message>
    <message>
        <source>Palette Shortcut Plasma 5</source>
        <translation>%1 已设为桌面项 %2 的 KDE 快捷键。Plasma 的快捷键服务在启动时读取它：注销并重新登录后，按下即打开命令面板。如果该按键已被其他快捷键占用，请在“系统设置 › 快捷键”中把它分配给“Pallstone 命令面板”。</translation>
    </message>
    <message>
        <source>Menu Abilities nautilus</source>
        <translation>其扩展菜单不显示图标，也没有分隔线（带文字的分隔线显示为不可选的条目）；子菜单点击后打开；文件夹空白处有菜单。</translation>
    </message>
    <message>
        <source>Menu Abilities nemo</source>
        <translation>显示图标和真正的分隔线，子菜单悬停即打开；文件夹空白处有菜单。</translation>
    </message>
    <message>
        <source>Menu Abilities caja</source>
        <translation>显示图标，没有分隔线（带文字的分隔线显示为不可选的条目），子菜单悬停即打开；文件夹空白处有菜单。</translation>
    </message>
    <message>
        <source>Menu Abilities thunar</source>
        <translation>显示图标，没有分隔线（带文字的分隔线显示为不可选的条目），子菜单悬停即打开；文件夹的菜单即其空白处的菜单。</translation>
    </message>
    <message>
        <source>Menu Abilities dolphin</source>
        <translation>显示图标和真正的分隔线，子菜单悬停即打开；Dolphin 加载插件后（首次右键时）文件夹空白处有菜单。</translation>
    </message>
    <message>
        <source>Menu Abilities Palette</source>
        <translation>命令面板（pallstone-extension palette，或“偏好设置”中的键盘快捷键）在任何文件管理器中都显示带图标的完整菜单。</translation>
    </message>
</context>
</TS>
