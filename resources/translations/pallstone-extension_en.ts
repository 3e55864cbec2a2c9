<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>Localizable</name>
    <message>
        <source>New File</source>
        <translation>New File</translation>
    </message>
    <message>
        <source>Common Path</source>
        <translation>Favourite Folders</translation>
    </message>
    <message>
        <source>Common App</source>
        <translation>Favourite Applications</translation>
    </message>
    <message>
        <source>Folder Icon</source>
        <translation>Folder Icon</translation>
    </message>
    <message>
        <source>Execute Script</source>
        <translation>Run Script</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>Copy To</translation>
    </message>
    <message>
        <source>Move to</source>
        <translation>Move To</translation>
    </message>
    <message>
        <source>Convert to</source>
        <translation>Convert To</translation>
    </message>
    <message>
        <source>Cut Paste</source>
        <translation>Cut and Paste</translation>
    </message>
    <message>
        <source>Lock and Unlock</source>
        <translation>Lock / Unlock</translation>
    </message>
    <message>
        <source>Encrypted Compression</source>
        <translation>Compress with Password</translation>
    </message>
    <message>
        <source>Embed in Folder</source>
        <translation>Put into New Folder</translation>
    </message>
    <message>
        <source>Unembed Folder</source>
        <translation>Unwrap Folder</translation>
    </message>
    <message>
        <source>Color Picker</source>
        <translation>Colour Picker</translation>
    </message>
    <message>
        <source>Extract Icon</source>
        <translation>Extract Icon</translation>
    </message>
    <message>
        <source>File Info</source>
        <translation>File Checksums</translation>
    </message>
    <message>
        <source>Terminal Window</source>
        <translation>New Terminal Window</translation>
    </message>
    <message>
        <source>Terminal Tab</source>
        <translation>New Terminal Tab</translation>
    </message>
    <message>
        <source>Terminal To</source>
        <translation>Open Terminal In</translation>
    </message>
    <message>
        <extracomment>The second terminal is the emulator the user picks in Preferences.</extracomment>
        <source>iTerm2 Window</source>
        <translation>Second Terminal Window</translation>
    </message>
    <message>
        <extracomment>The second terminal is the emulator the user picks in Preferences.</extracomment>
        <source>iTerm2 Tab</source>
        <translation>Second Terminal Tab</translation>
    </message>
    <message>
        <extracomment>The second terminal is the emulator the user picks in Preferences.</extracomment>
        <source>iTerm2 To</source>
        <translation>Open Second Terminal In</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>Copy Path</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete Immediately</translation>
    </message>
    <message>
        <source>Hide Selected Files</source>
        <translation>Hide Selected Items</translation>
    </message>
    <message>
        <source>Hide All Files</source>
        <translation>Hide All Items</translation>
    </message>
    <message>
        <source>Unhide All Files</source>
        <translation>Unhide All Items</translation>
    </message>
    <message>
        <source>System Hide Files</source>
        <translation>Show/Hide Hidden Files</translation>
    </message>
    <message>
        <source>New File From Window</source>
        <translation>Choose Location and Type…</translation>
    </message>
    <message>
        <source>Add to File Template</source>
        <translation>Add as Template</translation>
    </message>
    <message>
        <source>Go Set</source>
        <translation>Pallstone Settings…</translation>
    </message>
    <message>
        <extracomment>Put in front of an application name without a space: keep the trailing space where the language needs one.</extracomment>
        <source>Open With</source>
        <translation>Open with </translation>
    </message>
    <message>
        <extracomment>The program name as shown to the user.</extracomment>
        <source>Pallstone</source>
        <translation>Pallstone</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Check Delete Sure</source>
        <translation>Ask before deleting</translation>
    </message>
    <message>
        <source>Check Hide MainMenu Icon</source>
        <translation>Hide icons in the main menu</translation>
    </message>
    <message>
        <source>Check Hide Set Menu</source>
        <translation>Hide “Pallstone Settings…” in the menu</translation>
    </message>
    <message>
        <source>Check External Disks Enable</source>
        <translation>Show the menu on external drives too</translation>
    </message>
    <message>
        <source>Check Hide SubMenu Icon</source>
        <translation>Hide icons in submenus</translation>
    </message>
    <message>
        <source>Check Show Top StatusBar</source>
        <translation>Show the tray icon and keep running when the window is closed</translation>
    </message>
    <message>
        <source>Check Copy HEX</source>
        <translation>Copy colours with a leading #</translation>
    </message>
    <message>
        <source>WeChat</source>
        <translation>WeChat</translation>
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
