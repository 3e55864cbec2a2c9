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
    <message>
        <extracomment>Confirms the folder chosen for access; also the first button of the permission alert, which shows the folder in the file manager.</extracomment>
        <source>Authorization</source>
        <translation>Allow Access</translation>
    </message>
    <message>
        <source>Auth Root Tip</source>
        <translation>Pallstone cannot write to this folder. Choose it, or a folder above it, to allow Pallstone to work there.</translation>
    </message>
    <message>
        <extracomment>Names the button "Authorization": keep both texts in step.</extracomment>
        <source>Auth Full Disk Access Tip</source>
        <translation>Your user account is not allowed to write to this folder, so Pallstone could not finish the action. Choose “Allow Access” to show the folder in the file manager, where you can change its permissions.</translation>
    </message>
    <message>
        <extracomment>Menu entry shown in place of a favourite folder that the user cannot open.</extracomment>
        <source>To Authorize</source>
        <translation>Allow Access…</translation>
    </message>
    <message>
        <source>Embed Mode All</source>
        <translation>Embed all items</translation>
    </message>
    <message>
        <source>Embed Mode By Type</source>
        <translation>Sort into subfolders by extension</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Paste Here</translation>
    </message>
    <message>
        <source>Lock</source>
        <translation>Lock</translation>
    </message>
    <message>
        <source>Unlock</source>
        <translation>Unlock</translation>
    </message>
    <message>
        <source>Merge to PDF</source>
        <translation>Merge into One PDF</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>Restore Default Icon</translation>
    </message>
    <message>
        <source>Only Show Folder Tip</source>
        <translation>Only the first %1 folders are shown</translation>
    </message>
    <message>
        <source>Select Folder</source>
        <translation>Choose Folder…</translation>
    </message>
    <message>
        <source>Current Directory</source>
        <translation>This Folder</translation>
    </message>
    <message>
        <source>Show in Finder</source>
        <translation>Open Folder</translation>
    </message>
    <message>
        <source>More Files</source>
        <translation>More…</translation>
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
        <translation>Icon File (.icns)</translation>
    </message>
    <message>
        <source>OSX AppIconset</source>
        <translation>macOS Icon Set</translation>
    </message>
    <message>
        <source>iOS AppIconset</source>
        <translation>iOS Icon Set</translation>
    </message>
    <message>
        <source>iWatch AppIconset</source>
        <translation>watchOS Icon Set</translation>
    </message>
    <message>
        <source>Android AppIconset</source>
        <translation>Android Icon Set</translation>
    </message>
    <message>
        <source>PNG</source>
        <translation>PNG Image</translation>
    </message>
    <message>
        <source>JPEG</source>
        <translation>JPEG Image</translation>
    </message>
    <message>
        <source>JP2</source>
        <translation>JPEG 2000 Image</translation>
    </message>
    <message>
        <source>TIFF</source>
        <translation>TIFF Image</translation>
    </message>
    <message>
        <source>BMP</source>
        <translation>BMP Image</translation>
    </message>
    <message>
        <source>GIF</source>
        <translation>GIF Image</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF Document</translation>
    </message>
    <message>
        <source>Review Tip</source>
        <translation>Enjoying Pallstone? A star or a few words on the project page help others find it.</translation>
    </message>
    <message>
        <source>Go Review</source>
        <translation>Visit Project Page</translation>
    </message>
    <message>
        <source>Next Time</source>
        <translation>Not Now</translation>
    </message>
    <message>
        <source>Please Wait Tip</source>
        <translation>Please wait…</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
</context>
</TS>
