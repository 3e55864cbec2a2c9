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
        <extracomment>Confirms the folder chosen for access; also the first button of the permission alert, which shows the folder in the file manager.</extracomment>
        <source>Authorization</source>
        <translation>允许访问</translation>
    </message>
    <message>
        <source>Auth Root Tip</source>
        <translation>Pallstone 无法写入此文件夹。请选择此文件夹或其上层文件夹，以允许 Pallstone 在其中操作。</translation>
    </message>
    <message>
        <extracomment>Names the button "Authorization": keep both texts in step.</extracomment>
        <source>Auth Full Disk Access Tip</source>
        <translation>您的用户帐户无权写入此文件夹，因此 Pallstone 未能完成此操作。选择“允许访问”可在文件管理器中显示此文件夹，您可以在那里更改它的权限。</translation>
    </message>
    <message>
        <extracomment>Menu entry shown in place of a favourite folder that the user cannot open.</extracomment>
        <source>To Authorize</source>
        <translation>允许访问…</translation>
    </message>
    <message>
        <source>Embed Mode All</source>
        <translation>全部放入文件夹</translation>
    </message>
    <message>
        <source>Embed Mode By Type</source>
        <translation>按扩展名分入子文件夹</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>剪切</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>粘贴到此处</translation>
    </message>
    <message>
        <source>Lock</source>
        <translation>锁定</translation>
    </message>
    <message>
        <source>Unlock</source>
        <translation>解锁</translation>
    </message>
    <message>
        <source>Merge to PDF</source>
        <translation>合并为 PDF</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>恢复默认图标</translation>
    </message>
    <message>
        <source>Only Show Folder Tip</source>
        <translation>仅显示前 %1 个文件夹</translation>
    </message>
    <message>
        <source>Select Folder</source>
        <translation>选择文件夹…</translation>
    </message>
    <message>
        <source>Current Directory</source>
        <translation>此文件夹</translation>
    </message>
    <message>
        <source>Show in Finder</source>
        <translation>打开文件夹</translation>
    </message>
    <message>
        <source>More Files</source>
        <translation>更多…</translation>
    </message>
    <message>
        <source>MD5</source>
        <translation>MD5</translation>
    </message>
    <message>
        <source>SHA1</source>
        <translation>SHA-1</translation>
    </message>
    <message>
        <source>SHA256</source>
        <translation>SHA-256</translation>
    </message>
    <message>
        <source>SHA512</source>
        <translation>SHA-512</translation>
    </message>
    <message>
        <source>CRC32</source>
        <translation>CRC-32</translation>
    </message>
    <message>
        <source>AppIcon.icns</source>
        <translation>图标文件 (.icns)</translation>
    </message>
    <message>
        <source>OSX AppIconset</source>
        <translation>macOS 图标集</translation>
    </message>
    <message>
        <source>iOS AppIconset</source>
        <translation>iOS 图标集</translation>
    </message>
    <message>
        <source>iWatch AppIconset</source>
        <translation>watchOS 图标集</translation>
    </message>
    <message>
        <source>Android AppIconset</source>
        <translation>Android 图标集</translation>
    </message>
    <message>
        <source>PNG</source>
        <translation>PNG 图片</translation>
    </message>
    <message>
        <source>JPEG</source>
        <translation>JPEG 图片</translation>
    </message>
    <message>
        <source>JP2</source>
        <translation>JPEG 2000 图片</translation>
    </message>
    <message>
        <source>TIFF</source>
        <translation>TIFF 图片</translation>
    </message>
    <message>
        <source>BMP</source>
        <translation>BMP 图片</translation>
    </message>
    <message>
        <source>GIF</source>
        <translation>GIF 图片</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF 文档</translation>
    </message>
    <message>
        <source>Review Tip</source>
        <translation>喜欢 Pallstone 吗？在项目主页上点个星或留句话，能帮助更多人发现它。</translation>
    </message>
    <message>
        <source>Menu Out of Date</source>
        <translation>菜单已过期</translation>
    </message>
    <message>
        <source>Menu Out of Date Tip</source>
        <translation>菜单显示后，您点击的项目已发生变化，因此未执行任何操作。请重新打开菜单。</translation>
    </message>
    <message>
        <source>No Terminal</source>
        <translation>无法打开终端</translation>
    </message>
    <message>
        <source>No Terminal Tip</source>
        <translation>请安装一个终端模拟器（例如 gnome-terminal、konsole 或 xterm），或在 Pallstone 的偏好设置中选择其他终端。</translation>
    </message>
    <message>
        <source>Lock Failed</source>
        <translation>部分项目无法锁定或解锁</translation>
    </message>
    <message>
        <source>Lock Failed Tip</source>
        <translation>您可能无权更改这些项目的权限，或其所在的文件系统不保存权限。</translation>
    </message>
    <message>
        <source>Hide Failed</source>
        <translation>无法更改隐藏列表</translation>
    </message>
    <message>
        <source>Hide Failed Tip</source>
        <translation>无法写入该文件夹的 .hidden 文件。请检查您是否可以写入该文件夹。</translation>
    </message>
    <message>
        <source>Extract Icon Failed</source>
        <translation>部分图标无法保存</translation>
    </message>
    <message>
        <source>Extract Icon Failed Tip</source>
        <translation>请检查您是否可以写入所选项目所在的文件夹。</translation>
    </message>
    <message>
        <source>Go Review</source>
        <translation>访问项目主页</translation>
    </message>
    <message>
        <source>Next Time</source>
        <translation>以后再说</translation>
    </message>
    <message>
        <source>Please Wait Tip</source>
        <translation>请稍候…</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Open Error Tip</source>
        <translation>无法打开该应用程序。请检查它是否已安装，以及其桌面启动项能否启动。</translation>
    </message>
    <message>
        <source>Screen Record Tip</source>
        <translation>放大镜会显示指针周围的屏幕内容。将指针移到所需的颜色上并单击即可取色；按 Esc 键可不取色直接退出。</translation>
    </message>
    <message>
        <source>Color Picker Unavailable Tip</source>
        <translation>此处无法从屏幕取色：桌面没有提供取色器（截图门户），且当前屏幕不是 Pallstone 放大镜可以读取的 X11 屏幕。</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>拷贝</translation>
    </message>
    <message>
        <source>System Hide Files Tip</source>
        <translation>文件管理器是否显示隐藏文件（以点开头的名称）由桌面设置决定。请选择所需操作：更改该设置的命令将被拷贝，可直接粘贴到终端中运行。</translation>
    </message>
    <message>
        <source>System Hide Files Show</source>
        <translation>显示隐藏文件</translation>
    </message>
    <message>
        <source>System Hide Files Hide</source>
        <translation>不显示隐藏文件</translation>
    </message>
    <message>
        <source>Copy Instruction Tip</source>
        <translation>命令已拷贝到剪贴板。请将其粘贴到终端并按回车；已打开的文件管理器会立即或在重新启动后应用更改。</translation>
    </message>
    <message>
        <source>Paste to Terminal</source>
        <translation>打开终端</translation>
    </message>
    <message>
        <source>Paste to iTerm2</source>
        <translation>打开第二终端</translation>
    </message>
    <message>
        <source>AppleScript Not Available Tip</source>
        <translation>AppleScript 文件无法在 Linux 上运行，已跳过。Shell 脚本（.sh）可以运行。</translation>
    </message>
    <message>
        <source>File Info Missing Tip</source>
        <translation>该文件已不存在。</translation>
    </message>
    <message>
        <source>File Info Not Regular Tip</source>
        <translation>只有普通文件才有校验值；此项目是文件夹、管道、套接字或设备。</translation>
    </message>
    <message>
        <source>File Info Unreadable Tip</source>
        <translation>无法读取该文件：%1</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <source>Same FileName Tip</source>
        <translation>此处已有名为“%1”的项目。要保留两者、停止，还是替换它？</translation>
    </message>
    <message>
        <source>Keep Both</source>
        <translation>保留两者</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>替换</translation>
    </message>
    <message>
        <source>Replace Contains Source Tip</source>
        <translation>要替换的项目包含正在复制或移动的内容，因此不能替换。</translation>
    </message>
    <message>
        <source>Warn</source>
        <translation>要永久删除吗？</translation>
    </message>
    <message>
        <source>Delete Tip</source>
        <translation>所选项目将被立即删除，不会移到废纸篓。</translation>
    </message>
    <message>
        <source>Delete Fail Tip</source>
        <translation>有项目无法删除。请检查你是否有权修改它所在的文件夹。</translation>
    </message>
    <message>
        <source>Common Path Not Exist Tip</source>
        <translation>此常用文件夹已不存在。可以在 Pallstone 设置中将其移除。</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移动到这里</translation>
    </message>
    <message>
        <source>Success Common Tip</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>Error Common Tip</source>
        <translation>操作未能完成。</translation>
    </message>
    <message>
        <source>Empty Folder Tip</source>
        <translation>文件夹是空的。</translation>
    </message>
    <message>
        <source>Invalid Name Tip</source>
        <translation>文件夹名称不能包含“/”，也不能是“.”或“..”。</translation>
    </message>
    <message>
        <source>Folder Kept Tip</source>
        <translation>文件夹已保留，因为其中仍有：%1</translation>
    </message>
    <message>
        <source>File Type</source>
        <translation>文件类型</translation>
    </message>
    <message>
        <source>Please enter a display name</source>
        <translation>请输入显示名称</translation>
    </message>
    <message>
        <source>Without Display Name Tip</source>
        <translation>留空则使用默认名称</translation>
    </message>
    <message>
        <source>Name Not Allowed Tip</source>
        <translation>名称不能包含“/”，也不能是“.”或“..”。</translation>
    </message>
    <message>
        <source>Archiver</source>
        <translation>归档</translation>
    </message>
    <message>
        <source>Enter Password Tip</source>
        <translation>留空则不设密码</translation>
    </message>
    <message>
        <source>Compression Failed</source>
        <translation>压缩失败，未保存任何文件。</translation>
    </message>
    <message>
        <source>Compression Succeeded</source>
        <translation>压缩完成</translation>
    </message>
    <message>
        <source>Compression Save Path Tip</source>
        <translation>压缩文件不能替换被压缩的项目，请选择其他名称或位置。</translation>
    </message>
    <message>
        <source>Convert Fail</source>
        <translation>转换失败。</translation>
    </message>
    <message>
        <source>Convert Fail Unreadable</source>
        <translation>无法读取：文件已损坏或其类型无法转换。</translation>
    </message>
    <message>
        <source>Convert Fail Locked</source>
        <translation>受密码保护。</translation>
    </message>
    <message>
        <source>Convert Fail Too Large</source>
        <translation>超过 %1 百万像素。</translation>
    </message>
    <message>
        <source>Convert Fail Write</source>
        <translation>无法写入：%1</translation>
    </message>
    <message>
        <source>Convert Icns image invalid</source>
        <translation>图标需要正方形图片，这张图片为 %1 × %2 像素。</translation>
    </message>
    <message>
        <source>Folder Icon Failed</source>
        <translation>部分文件夹的图标未能更改</translation>
    </message>
    <message>
        <source>Folder Icon Failed Tip</source>
        <translation>请检查您是否可以写入所选文件夹。</translation>
    </message>
    <message>
        <source>Folder Icon Unreadable</source>
        <translation>无法读取该文件夹图标的图片</translation>
    </message>
    <message>
        <source>Folder Icon Unreadable Tip</source>
        <translation>未做任何更改。请在设置的“文件夹图标”标签页中重新选择图片。</translation>
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
        <source>docx</source>
        <translation>Word 文档</translation>
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
        <source>Palette Placeholder</source>
        <translation>输入条目的几个字母</translation>
    </message>
    <message>
        <source>Palette Items Header</source>
        <translation>%2 中的 %1 项</translation>
    </message>
    <message>
        <source>Palette Item Header</source>
        <translation>%2 中的“%1”</translation>
    </message>
    <message>
        <source>Palette Folder Header</source>
        <translation>文件夹 %1</translation>
    </message>
    <message>
        <source>Palette Nothing Reported</source>
        <translation>还没有文件管理器显示过菜单：命令面板作用于你的主文件夹。</translation>
    </message>
    <message>
        <source>Palette Shortcut Description</source>
        <translation>打开 Pallstone 命令面板</translation>
    </message>
</context>
</TS>
