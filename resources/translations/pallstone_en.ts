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
        <source>New File Introduce</source>
        <translation>Create a new file in the current folder from one of your templates.</translation>
    </message>
    <message>
        <source>Common Path Introduce</source>
        <translation>Open one of your favourite folders, a file inside it, or open it with one of your applications.</translation>
    </message>
    <message>
        <source>Common App Introduce</source>
        <translation>Open the selected items or the current folder with one of your favourite applications.</translation>
    </message>
    <message>
        <source>Folder Icon Introduce</source>
        <translation>Give the selected folder one of your folder icons, or restore its original icon.</translation>
    </message>
    <message>
        <source>Execute Script Introduce</source>
        <translation>Run the selected shell script.</translation>
    </message>
    <message>
        <source>Copy to Introduce</source>
        <translation>Copy the selected items to one of your favourite folders or to a folder you choose.</translation>
    </message>
    <message>
        <source>Move to Introduce</source>
        <translation>Move the selected items to one of your favourite folders or to a folder you choose.</translation>
    </message>
    <message>
        <source>Convert to Introduce</source>
        <translation>Convert the selected images to another format or to icon sets, or merge them into one PDF.</translation>
    </message>
    <message>
        <source>Cut Paste Introduce</source>
        <translation>Cut the selected items, then paste them from the background menu of another folder.</translation>
    </message>
    <message>
        <source>Lock and Unlock Introduce</source>
        <translation>Lock the selected items so that nobody can change them, or unlock them again.</translation>
    </message>
    <message>
        <source>Encrypted Compression Introduce</source>
        <translation>Compress the selected items into an archive protected by a password.</translation>
    </message>
    <message>
        <source>Embed in Folder Introduce</source>
        <translation>Move the selected items into a new folder that you name.</translation>
    </message>
    <message>
        <source>Unembed Folder Introduce</source>
        <translation>Move the contents of the selected folder up one level and remove the emptied folder.</translation>
    </message>
    <message>
        <source>Color Picker Introduce</source>
        <translation>Pick a colour anywhere on the screen and copy its value.</translation>
    </message>
    <message>
        <source>Extract Icon Introduce</source>
        <translation>Save the icon of the selected item as an image.</translation>
    </message>
    <message>
        <source>File Info Introduce</source>
        <translation>Show the MD5, SHA-1, SHA-256, SHA-512 or CRC-32 checksum of the selected file, ready to copy.</translation>
    </message>
    <message>
        <source>Terminal Window Introduce</source>
        <translation>Open a terminal window in the current folder.</translation>
    </message>
    <message>
        <source>Terminal Tab Introduce</source>
        <translation>Open a terminal tab in the current folder, or a window when your terminal has no tabs.</translation>
    </message>
    <message>
        <source>Terminal To Introduce</source>
        <translation>Open a terminal in one of your favourite folders or in a folder you choose.</translation>
    </message>
    <message>
        <source>iTerm2 Window Introduce</source>
        <translation>Open a window of your second terminal, chosen in Preferences, in the current folder.</translation>
    </message>
    <message>
        <source>iTerm2 Tab Introduce</source>
        <translation>Open a tab of your second terminal in the current folder.</translation>
    </message>
    <message>
        <source>iTerm2 To Introduce</source>
        <translation>Open your second terminal in one of your favourite folders or in a folder you choose.</translation>
    </message>
    <message>
        <source>Copy Path Introduce</source>
        <translation>Copy the full paths of the selected items, one per line.</translation>
    </message>
    <message>
        <source>Delete Introduce</source>
        <translation>Delete the selected items at once, without moving them to the Trash.</translation>
    </message>
    <message>
        <source>Hide Selected Files Introduce</source>
        <translation>Hide the selected items in the file manager.</translation>
    </message>
    <message>
        <source>Hide All Files Introduce</source>
        <translation>Hide every item of the current folder in the file manager.</translation>
    </message>
    <message>
        <source>Unhide All Files Introduce</source>
        <translation>Show every hidden item of the current folder again.</translation>
    </message>
    <message>
        <source>System Hide Files Introduce</source>
        <translation>Choose whether file managers and file dialogs show hidden files; the command is copied for you to run in a terminal.</translation>
    </message>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Add Right Menu</source>
        <translation>Add Menu Entries</translation>
    </message>
    <message>
        <source>Add File Type Title</source>
        <translation>New File Type</translation>
    </message>
    <message>
        <source>Add to File Template Tip</source>
        <translation>The new type appears in the “New File” submenu of the context menu.</translation>
    </message>
    <message>
        <source>Add to main menu</source>
        <translation>Add to main menu</translation>
    </message>
    <message>
        <source>Folder Exist Tip</source>
        <translation>This folder is already in the list.</translation>
    </message>
    <message>
        <source>App Exist Tip</source>
        <translation>This application is already in the list.</translation>
    </message>
    <message>
        <source>App Name</source>
        <translation>Application</translation>
    </message>
    <message>
        <source>Bridge</source>
        <translation>Menu plug-in</translation>
    </message>
    <message>
        <source>Check External Disks Enable Tip</source>
        <translation>Also show the menu on USB drives and other mounted disks. Changing this restarts the menu service.</translation>
    </message>
    <message>
        <source>Choose Application</source>
        <translation>Choose Application</translation>
    </message>
    <message>
        <source>Choose Desktop File</source>
        <translation>Choose .desktop File…</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Clear Tip</source>
        <translation>Every folder is removed from the list. The folders themselves stay where they are.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Config Manager</source>
        <translation>Configuration Profiles</translation>
    </message>
    <message>
        <source>Display Name</source>
        <translation>Display Name</translation>
    </message>
    <message>
        <source>Double Click Change</source>
        <translation>double-click to rename</translation>
    </message>
    <message>
        <source>Drag Sort</source>
        <translation>drag to reorder</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>Enable the right-click menu</source>
        <translation>Enable the context menu</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Extension</source>
        <translation>Extension</translation>
    </message>
    <message>
        <source>File Manager</source>
        <translation>File manager</translation>
    </message>
    <message>
        <source>File Manager Extensions</source>
        <translation>File Manager Extensions</translation>
    </message>
    <message>
        <source>File Manager Extensions Tip</source>
        <translation>Pallstone adds its menu through a small plug-in for each file manager. A file manager picks up a newly installed plug-in after it restarts.</translation>
    </message>
    <message>
        <source>File Type</source>
        <translation>File Type</translation>
    </message>
    <message>
        <source>Finder Sync Tip</source>
        <translation>None of the file managers on this system has the Pallstone plug-in yet. The top of the main window names each of your file managers with the step that installs its plug-in.</translation>
    </message>
    <message>
        <source>Go Review</source>
        <translation>Visit the Project Page</translation>
    </message>
    <message>
        <source>Installed</source>
        <translation>Installed</translation>
    </message>
    <message>
        <source>Menu Abount</source>
        <translation>About %@</translation>
    </message>
    <message>
        <source>Menu Feedback</source>
        <translation>%@ Feedback</translation>
    </message>
    <message>
        <source>Menu Name</source>
        <translation>Menu Entry</translation>
    </message>
    <message>
        <source>Menu Quit</source>
        <translation>Quit %@</translation>
    </message>
    <message>
        <source>Modify Icon Tip</source>
        <translation>Click the icon to choose another image.</translation>
    </message>
    <message>
        <source>Name Not Allowed Tip</source>
        <translation>A name cannot contain “/” or be “.” or “..”.</translation>
    </message>
    <message>
        <source>New File Finished Checked Tip</source>
        <translation>Open the new file after creating it</translation>
    </message>
    <message>
        <source>No Menu To Add Tip</source>
        <translation>Every entry of the default menu is already in the list.</translation>
    </message>
    <message>
        <source>No Template Tip</source>
        <translation>Without a template the new file is empty.</translation>
    </message>
    <message>
        <source>Not Desktop File Tip</source>
        <translation>This file is not a valid application entry (.desktop file).</translation>
    </message>
    <message>
        <source>Not Installed</source>
        <translation>Not installed</translation>
    </message>
    <message>
        <source>Only Show Sub-Files Tip</source>
        <translation>Shows up to %@ items of the folder.</translation>
    </message>
    <message>
        <source>Open System Preferences</source>
        <translation>Set Up File Managers</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Please enter a display name</source>
        <translation>Please enter a display name</translation>
    </message>
    <message>
        <source>PopMenu Not Show Submenu</source>
        <translation>No submenu</translation>
    </message>
    <message>
        <source>PopMenu Show Apps</source>
        <translation>Show applications</translation>
    </message>
    <message>
        <source>PopMenu Show Sub-Files</source>
        <translation>Show the folder's contents</translation>
    </message>
    <message>
        <source>PopMenu Show Sub-Files And Apps</source>
        <translation>Show contents and applications</translation>
    </message>
    <message>
        <source>Recommend it</source>
        <translation>Share Pallstone</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>Restore Defaults</translation>
    </message>
    <message>
        <source>Recover Tip</source>
        <translation>Your changes to this list are lost.</translation>
    </message>
    <message>
        <source>Restart File Manager</source>
        <translation>Restart File Manager</translation>
    </message>
    <message>
        <source>Restart Tip</source>
        <translation>Changes apply the next time you open the context menu.</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Second Terminal</source>
        <translation>Second terminal</translation>
    </message>
    <message>
        <source>Second Terminal Default</source>
        <translation>Next installed terminal</translation>
    </message>
    <message>
        <source>Second Terminal Tip</source>
        <translation>The “second terminal” menu entries open this terminal.</translation>
    </message>
    <message>
        <source>Special File</source>
        <translation>Special file</translation>
    </message>
    <message>
        <source>Special FileName Placeholder</source>
        <translation>e.g. .gitignore</translation>
    </message>
    <message>
        <source>Submenu Limit Tip</source>
        <translation>Remove an entry before adding another.</translation>
    </message>
    <message>
        <source>Template Copy Failed Tip</source>
        <translation>The template file could not be copied. Nothing was added.</translation>
    </message>
    <message>
        <source>The address was copied to the clipboard</source>
        <translation>The address was copied to the clipboard.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>Use Pallstone</source>
        <translation>Use Pallstone</translation>
    </message>
    <message>
        <source>Without Display Name Tip</source>
        <translation>Leave empty to use the default name</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>docx</source>
        <translation>Word Document</translation>
    </message>
    <message>
        <source>eg:</source>
        <translation>e.g. </translation>
    </message>
    <message>
        <source>Default Name</source>
        <translation>Default Name</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>File Icon</source>
        <translation>File Icon</translation>
    </message>
    <message>
        <source>File Template</source>
        <translation>Template</translation>
    </message>
    <message>
        <source>Modify Template</source>
        <translation>Change Template…</translation>
    </message>
    <message>
        <source>Select Template</source>
        <translation>Choose Template…</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Switch</source>
        <translation>Switch</translation>
    </message>
    <message>
        <source>Config Name</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>Export Select Config</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>Save Current Config</source>
        <translation>Save Current Configuration…</translation>
    </message>
    <message>
        <source>Import Config</source>
        <translation>Import…</translation>
    </message>
    <message>
        <source>Save Config</source>
        <translation>Export Here</translation>
    </message>
    <message>
        <source>Delete Config</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Input Config Name Tip</source>
        <translation>Name of the profile:</translation>
    </message>
    <message>
        <source>Setup Config Tip</source>
        <translation>Its menu lists, templates, icons and preferences replace the current ones. Save the current configuration first if you want to keep it.</translation>
    </message>
    <message>
        <source>Config File Error Tip</source>
        <translation>This file is not a Pallstone configuration profile, or it does not open with the profile password.</translation>
    </message>
    <message>
        <source>Config Busy Tip</source>
        <translation>A profile is being saved or switched. Try again when it has finished.</translation>
    </message>
    <message>
        <source>Config Failed Tip</source>
        <translation>The profile could not be saved or restored: %1</translation>
    </message>
    <message>
        <source>Select Folder Icon</source>
        <translation>Select Folder Icon</translation>
    </message>
    <message>
        <source>Make Folder Icon</source>
        <translation>Make Folder Icon</translation>
    </message>
    <message>
        <source>Select Icon</source>
        <translation>Select Icon</translation>
    </message>
    <message>
        <source>Folder Color</source>
        <translation>Folder colour</translation>
    </message>
    <message>
        <source>Symbol Color</source>
        <translation>Symbol colour</translation>
    </message>
    <message>
        <source>Font Unreadable Tip</source>
        <translation>This file cannot be read as a font. The symbols stay as they were.</translation>
    </message>
    <message>
        <source>Picture Unreadable Tip</source>
        <translation>This file cannot be read as a picture. Nothing was added.</translation>
    </message>
    <message>
        <source>Folder Icon Save Failed Tip</source>
        <translation>The folder icon could not be saved. Check that there is space left on the disk.</translation>
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
        <source>Submenu Limit Heading</source>
        <translation>The list is full</translation>
    </message>
    <message>
        <source>No Menu To Add Heading</source>
        <translation>Nothing left to add</translation>
    </message>
    <message>
        <source>App Exist Heading</source>
        <translation>Already in the list</translation>
    </message>
    <message>
        <source>Picture Unreadable Heading</source>
        <translation>Not a picture</translation>
    </message>
    <message>
        <source>Font Unreadable Heading</source>
        <translation>Not an icon font</translation>
    </message>
    <message>
        <source>Folder Icon Save Failed Heading</source>
        <translation>The folder icon was not saved</translation>
    </message>
    <message>
        <source>Template Copy Failed Heading</source>
        <translation>The template was not added</translation>
    </message>
    <message>
        <source>Not Desktop File Heading</source>
        <translation>Not an application</translation>
    </message>
    <message>
        <source>Recover Heading</source>
        <translation>Restore the default list?</translation>
    </message>
    <message>
        <source>Clear Heading</source>
        <translation>Clear the list?</translation>
    </message>
    <message>
        <source>Config Busy Heading</source>
        <translation>Another profile task is running</translation>
    </message>
    <message>
        <source>Config File Error Heading</source>
        <translation>Not a profile</translation>
    </message>
    <message>
        <source>Config Failed Heading</source>
        <translation>The profile task failed</translation>
    </message>
    <message>
        <source>Setup Config Heading</source>
        <translation>Switch to this profile?</translation>
    </message>
    <message>
        <source>Extension Not Installed Heading</source>
        <translation>The context menu is not installed</translation>
    </message>
    <message>
        <source>Extension Switched Off Heading</source>
        <translation>The context menu is switched off</translation>
    </message>
    <message>
        <source>Extension Switched Off Tip</source>
        <translation>The Pallstone plug-in is installed, but switched off in every file manager that has it. “Set Up File Managers” opens the list of your file managers, where you can switch it back on.</translation>
    </message>
    <message>
        <source>About Version</source>
        <translation>Version %@</translation>
    </message>
    <message>
        <source>About Description</source>
        <translation>A configurable context menu for Linux file managers.</translation>
    </message>
    <message>
        <source>About Licence</source>
        <translation>Free software under the %@ licence.</translation>
    </message>
    <message>
        <source>Template Chosen Tip</source>
        <translation>New files start as a copy of “%@”.</translation>
    </message>
    <message>
        <source>State</source>
        <translation>State</translation>
    </message>
    <message>
        <source>File Manager Absent</source>
        <translation>Not on this system</translation>
    </message>
    <message>
        <source>Plug-in Not Installed</source>
        <translation>Plug-in not installed</translation>
    </message>
    <message>
        <source>Menu Switched Off</source>
        <translation>Switched off</translation>
    </message>
    <message>
        <source>Menu Active</source>
        <translation>Menu active</translation>
    </message>
    <message>
        <source>Plug-in Folders Tip</source>
        <translation>The plug-in is looked for in:</translation>
    </message>
    <message>
        <source>Files (Nautilus)</source>
        <translation>Files (Nautilus)</translation>
    </message>
    <message>
        <source>Empty Favourites Tip</source>
        <translation>No favourite folders yet. Add a folder you use often to open it, or copy and move files to it, from the context menu.</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Add Folder…</translation>
    </message>
    <message>
        <source>Empty Apps Tip</source>
        <translation>No applications yet. Add the applications you open files with most often.</translation>
    </message>
    <message>
        <source>Add Application</source>
        <translation>Add Application…</translation>
    </message>
    <message>
        <source>Empty Folder Icons Tip</source>
        <translation>No folder icons yet. Make one from a colour and a symbol, or pick a picture with Add.</translation>
    </message>
    <message>
        <source>Empty Menu Tip</source>
        <translation>The context menu has no entries. Add the entries you want, or restore the default menu.</translation>
    </message>
    <message>
        <source>Hint Brackets</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Hint Separator</source>
        <translation>, </translation>
    </message>
    <message>
        <source>Field Label</source>
        <translation>%1:</translation>
    </message>
    <message>
        <source>App Not Installed Tip</source>
        <translation>No application of this name is installed on this computer, so the menu leaves it out. It comes back once the application is installed.</translation>
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
        <source>Setup Banner Tip</source>
        <translation>The menu appears once a file manager has the Pallstone plug-in. Run the step for your file manager in a terminal, then restart the file manager:</translation>
    </message>
    <message>
        <source>Setup Banner No File Manager</source>
        <translation>None of the supported file managers (Files, Nemo, Caja, Thunar, Dolphin) is installed on this computer.</translation>
    </message>
    <message>
        <source>Enable Greyed Tip</source>
        <translation>Available once a file manager has the Pallstone plug-in: see the note at the top of the window.</translation>
    </message>
    <message>
        <source>Keyboard Shortcut</source>
        <translation>Keyboard shortcut</translation>
    </message>
    <message>
        <source>Keyboard Shortcut Tip</source>
        <translation>Opens the palette: the menu of what the file manager shows, filtered as you type.</translation>
    </message>
    <message>
        <source>Palette Shortcut Registered</source>
        <translation>%1 is registered with the desktop: it opens the palette.</translation>
    </message>
    <message>
        <source>Palette Shortcut Removed</source>
        <translation>The key is no longer registered with the desktop.</translation>
    </message>
    <message>
        <source>Palette Shortcut By Hand</source>
        <translation>This desktop takes no key from here (the desktop's shortcut portal, Plasma 5, GNOME, Cinnamon and MATE do). Add %1 by hand in the desktop's keyboard settings, with the command: %2</translation>
    </message>
    <message>
        <source>Palette Shortcut Portal Registered</source>
        <translation>%1 is registered with the desktop's shortcut portal: it opens the palette while the Pallstone service runs. The desktop may ask you to confirm the key, and its keyboard settings can change it.</translation>
    </message>
    <message>
        <source>Palette Shortcut Plasma 5</source>
        <translation>%1 is the KDE shortcut of the desktop entry %2. Plasma's shortcut daemon reads it when it starts: log out and in again, and the key opens the palette. If another shortcut holds the key, give it to “Pallstone palette” in System Settings › Shortcuts.</translation>
    </message>
    <message>
        <source>Menu Abilities nautilus</source>
        <translation>Its extension menus show no icons and no separators (a titled separator is an entry that cannot be chosen); submenus open when clicked; the folder background has the menu.</translation>
    </message>
    <message>
        <source>Menu Abilities nemo</source>
        <translation>Icons, real separators, submenus that open on hover; the folder background has the menu.</translation>
    </message>
    <message>
        <source>Menu Abilities caja</source>
        <translation>Icons, no separators (a titled separator is an entry that cannot be chosen), submenus that open on hover; the folder background has the menu.</translation>
    </message>
    <message>
        <source>Menu Abilities thunar</source>
        <translation>Icons, no separators (a titled separator is an entry that cannot be chosen), submenus that open on hover; the menu of a folder stands for its background.</translation>
    </message>
    <message>
        <source>Menu Abilities dolphin</source>
        <translation>Icons, real separators, submenus that open on hover; the folder background has the menu once Dolphin has loaded the plug-in (at the first right-click).</translation>
    </message>
    <message>
        <source>Menu Abilities Palette</source>
        <translation>The palette (pallstone-extension palette, or the keyboard shortcut in Preferences) shows the whole menu with its icons, whatever the file manager.</translation>
    </message>
</context>
</TS>
