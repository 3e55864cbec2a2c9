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
        <translation>复制到</translation>
    </message>
    <message>
        <source>Move to</source>
        <translation>移动到</translation>
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
</context>
</TS>
