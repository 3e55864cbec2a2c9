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
        <translation>Copy to Favourite Folder</translation>
    </message>
    <message>
        <source>Move to</source>
        <translation>Move to Favourite Folder</translation>
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
        <source>Menu Out of Date</source>
        <translation>The menu was out of date</translation>
    </message>
    <message>
        <source>Menu Out of Date Tip</source>
        <translation>What you clicked has changed since the menu was shown, so nothing was done. Open the menu again.</translation>
    </message>
    <message>
        <source>No Terminal</source>
        <translation>No terminal could be opened</translation>
    </message>
    <message>
        <source>No Terminal Tip</source>
        <translation>Install a terminal emulator (for example gnome-terminal, konsole or xterm), or choose another one in Pallstone&apos;s Preferences.</translation>
    </message>
    <message>
        <source>Lock Failed</source>
        <translation>Some items could not be locked or unlocked</translation>
    </message>
    <message>
        <source>Lock Failed Tip</source>
        <translation>You may not change the permissions of these items, or their file system does not keep them.</translation>
    </message>
    <message>
        <source>Hide Failed</source>
        <translation>The hidden list could not be changed</translation>
    </message>
    <message>
        <source>Hide Failed Tip</source>
        <translation>The folder&apos;s .hidden file could not be written. Check that you may write to the folder.</translation>
    </message>
    <message>
        <source>Extract Icon Failed</source>
        <translation>Some icons could not be saved</translation>
    </message>
    <message>
        <source>Extract Icon Failed Tip</source>
        <translation>Check that you may write to the folder of the selected items.</translation>
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
    <message>
        <source>Open Error Tip</source>
        <translation>The application could not be opened. Check that it is installed and that its desktop entry can be started.</translation>
    </message>
    <message>
        <source>Screen Record Tip</source>
        <translation>The magnifier shows the screen around the pointer. Move the pointer to the colour you want and click to pick it; press Escape to stop without picking.</translation>
    </message>
    <message>
        <source>Color Picker Unavailable Tip</source>
        <translation>No colour can be picked from the screen here: the desktop offers no colour picker (the screenshot portal), and the screen is not an X11 screen that Pallstone's magnifier can read.</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>System Hide Files Tip</source>
        <translation>Whether the file manager shows hidden files (names beginning with a dot) is a desktop setting. Choose what you want: the command that changes the setting is copied, ready to paste into a terminal.</translation>
    </message>
    <message>
        <source>System Hide Files Show</source>
        <translation>Show Hidden Files</translation>
    </message>
    <message>
        <source>System Hide Files Hide</source>
        <translation>Hide Hidden Files</translation>
    </message>
    <message>
        <source>Copy Instruction Tip</source>
        <translation>The command is on the clipboard. Paste it into a terminal and press Enter; file managers that are open pick up the change at once or after a restart.</translation>
    </message>
    <message>
        <source>Paste to Terminal</source>
        <translation>Open Terminal</translation>
    </message>
    <message>
        <source>Paste to iTerm2</source>
        <translation>Open Second Terminal</translation>
    </message>
    <message>
        <source>AppleScript Not Available Tip</source>
        <translation>AppleScript files cannot run on Linux and were skipped. Shell scripts (.sh) run.</translation>
    </message>
    <message>
        <source>File Info Missing Tip</source>
        <translation>The file no longer exists.</translation>
    </message>
    <message>
        <source>File Info Not Regular Tip</source>
        <translation>Only regular files have a checksum; this item is a folder, a pipe, a socket or a device.</translation>
    </message>
    <message>
        <source>File Info Unreadable Tip</source>
        <translation>The file cannot be read: %1</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>Same FileName Tip</source>
        <translation>An item named “%1” already exists here. Keep both, stop, or replace it?</translation>
    </message>
    <message>
        <source>Keep Both</source>
        <translation>Keep Both</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>Replace Contains Source Tip</source>
        <translation>The item to be replaced contains what you are copying or moving, so it cannot be replaced.</translation>
    </message>
    <message>
        <source>Warn</source>
        <translation>Delete Permanently?</translation>
    </message>
    <message>
        <source>Delete Tip</source>
        <translation>The selected items will be deleted at once, without going to the Trash.</translation>
    </message>
    <message>
        <source>Delete Fail Tip</source>
        <translation>An item could not be deleted. Check that you may change its folder.</translation>
    </message>
    <message>
        <source>Common Path Not Exist Tip</source>
        <translation>This favourite folder no longer exists. You can remove it in Pallstone's settings.</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Move Here</translation>
    </message>
    <message>
        <source>Success Common Tip</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Error Common Tip</source>
        <translation>The operation could not be completed.</translation>
    </message>
    <message>
        <source>Empty Folder Tip</source>
        <translation>The folder is empty.</translation>
    </message>
    <message>
        <source>Invalid Name Tip</source>
        <translation>A folder name cannot contain “/” or be “.” or “..”.</translation>
    </message>
    <message>
        <source>Folder Kept Tip</source>
        <translation>The folder was kept because it still holds: %1</translation>
    </message>
    <message>
        <source>File Type</source>
        <translation>File Type</translation>
    </message>
    <message>
        <source>Please enter a display name</source>
        <translation>Please enter a display name</translation>
    </message>
    <message>
        <source>Without Display Name Tip</source>
        <translation>Leave empty to use the default name</translation>
    </message>
    <message>
        <source>Name Not Allowed Tip</source>
        <translation>A name cannot contain “/” or be “.” or “..”.</translation>
    </message>
    <message>
        <source>Archiver</source>
        <translation>Archive</translation>
    </message>
    <message>
        <source>Enter Password Tip</source>
        <translation>No password: leave empty</translation>
    </message>
    <message>
        <source>Compression Failed</source>
        <translation>The archive could not be written. Nothing was saved.</translation>
    </message>
    <message>
        <source>Compression Succeeded</source>
        <translation>Archive saved</translation>
    </message>
    <message>
        <source>Compression Save Path Tip</source>
        <translation>An archive cannot replace one of the items it is made from. Choose another name or folder.</translation>
    </message>
    <message>
        <source>Convert Fail</source>
        <translation>The conversion failed.</translation>
    </message>
    <message>
        <source>Convert Fail Unreadable</source>
        <translation>It cannot be read: it is damaged or of a kind that cannot be converted.</translation>
    </message>
    <message>
        <source>Convert Fail Locked</source>
        <translation>It is protected by a password.</translation>
    </message>
    <message>
        <source>Convert Fail Too Large</source>
        <translation>It has more than %1 million pixels.</translation>
    </message>
    <message>
        <source>Convert Fail Write</source>
        <translation>It could not be written: %1</translation>
    </message>
    <message>
        <source>Convert Icns image invalid</source>
        <translation>An icon needs a square image; this one is %1 × %2 pixels.</translation>
    </message>
    <message>
        <source>Folder Icon Failed</source>
        <translation>Some folders did not get their new icon</translation>
    </message>
    <message>
        <source>Folder Icon Failed Tip</source>
        <translation>Check that you may write to the selected folders.</translation>
    </message>
    <message>
        <source>Folder Icon Unreadable</source>
        <translation>The folder icon's picture cannot be read</translation>
    </message>
    <message>
        <source>Folder Icon Unreadable Tip</source>
        <translation>Nothing was changed. Choose the picture again in the settings, on the Folder Icon tab.</translation>
    </message>
    <message>
        <source>love</source>
        <translation>Heart</translation>
    </message>
    <message>
        <source>google</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>java</source>
        <translation>Coffee</translation>
    </message>
    <message>
        <source>qq</source>
        <translation>Chat</translation>
    </message>
    <message>
        <source>zapier</source>
        <translation>Lightning</translation>
    </message>
    <message>
        <source>pyq</source>
        <translation>Camera</translation>
    </message>
    <message>
        <source>html5</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>twitter</source>
        <translation>Repost</translation>
    </message>
    <message>
        <source>ding</source>
        <translation>Bell</translation>
    </message>
    <message>
        <source>skype</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>apple</source>
        <translation>Laptop</translation>
    </message>
    <message>
        <source>share</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>wechat</source>
        <translation>Conversation</translation>
    </message>
    <message>
        <source>weibo</source>
        <translation>Megaphone</translation>
    </message>
    <message>
        <source>youtube</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>wepay</source>
        <translation>Payment</translation>
    </message>
    <message>
        <source>react</source>
        <translation>Gears</translation>
    </message>
    <message>
        <source>erji</source>
        <translation>Headphones</translation>
    </message>
    <message>
        <source>question</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>star</source>
        <translation>Star</translation>
    </message>
    <message>
        <source>txt</source>
        <translation>Text Document</translation>
    </message>
    <message>
        <source>rtf</source>
        <translation>Rich Text Document</translation>
    </message>
    <message>
        <source>json</source>
        <translation>JSON File</translation>
    </message>
    <message>
        <source>docx</source>
        <translation>Word Document</translation>
    </message>
    <message>
        <source>xlsx</source>
        <translation>Excel Spreadsheet</translation>
    </message>
    <message>
        <source>pptx</source>
        <translation>PowerPoint Presentation</translation>
    </message>
    <message>
        <source>pages</source>
        <translation>Pages Document</translation>
    </message>
    <message>
        <source>numbers</source>
        <translation>Numbers Spreadsheet</translation>
    </message>
    <message>
        <source>key</source>
        <translation>Keynote Presentation</translation>
    </message>
    <message>
        <source>md</source>
        <translation>Markdown Document</translation>
    </message>
    <message>
        <source>wps</source>
        <translation>WPS Writer Document</translation>
    </message>
    <message>
        <source>et</source>
        <translation>WPS Spreadsheet</translation>
    </message>
    <message>
        <source>dps</source>
        <translation>WPS Presentation</translation>
    </message>
    <message>
        <source>html</source>
        <translation>HTML Document</translation>
    </message>
    <message>
        <source>xml</source>
        <translation>XML Document</translation>
    </message>
    <message>
        <source>css</source>
        <translation>CSS Style Sheet</translation>
    </message>
    <message>
        <source>js</source>
        <translation>JavaScript File</translation>
    </message>
    <message>
        <source>py</source>
        <translation>Python Script</translation>
    </message>
    <message>
        <source>sh</source>
        <translation>Shell Script</translation>
    </message>
    <message>
        <source>odt</source>
        <translation>OpenDocument Text</translation>
    </message>
    <message>
        <source>ods</source>
        <translation>OpenDocument Spreadsheet</translation>
    </message>
    <message>
        <source>odp</source>
        <translation>OpenDocument Presentation</translation>
    </message>
    <message>
        <source>Palette Placeholder</source>
        <translation>Type a few letters of an entry</translation>
    </message>
    <message>
        <source>Palette Items Header</source>
        <translation>%1 items in %2</translation>
    </message>
    <message>
        <source>Palette Item Header</source>
        <translation>“%1” in %2</translation>
    </message>
    <message>
        <source>Palette Folder Header</source>
        <translation>The folder %1</translation>
    </message>
    <message>
        <source>Palette Nothing Reported</source>
        <translation>No file manager has shown a menu yet: the palette works on your home folder.</translation>
    </message>
    <message>
        <source>Palette Shortcut Description</source>
        <translation>Open the Pallstone palette</translation>
    </message>
</context>
</TS>
