<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Core</name>
    <message>
        <source>Internal index is out of bounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A part of the file tells the app to look for data at places that do not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some error while decompressing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is compressed and there was an error when trying to chacnge that.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The archive is too large for the RFA format (4 GB at most).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%u Bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%u KB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%.1f MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%.2f GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 object, %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%lu objects, %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 object of %lu selected, %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%lu objects of %lu selected, %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unnamed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unnamed %lu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%@ already exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you wish to replace %@? All it&apos;s contents will be replaced with those of the new folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you wish to replace %@ with the new file?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%@&quot; could not be read and was left out.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%@&quot; no longer exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Typing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%@&quot; was left out: its name has characters an RFA archive cannot store.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A name cannot be empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%@&quot; cannot be a name: it contains &quot;/&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%@&quot; cannot be a name: folders on disk reserve it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%@&quot; cannot be a name: it has characters an RFA archive cannot store.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name &quot;%@&quot; is already taken.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name &quot;%@&quot; is already taken by &quot;%@&quot;: the game does not tell names apart by case.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot be opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot be written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot take the place of the old file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot make folder %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the written files could not be flushed to disk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the name is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the name starts at the file-system root</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the name has an empty component (&quot;//&quot; or a trailing &quot;/&quot;)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the name has a &quot;.&quot; component</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the name has a &quot;..&quot; component, which would climb out of the folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a component holds a separator (a backslash separates folders on Windows)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the name holds a zero byte</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the name holds a character Windows does not allow in a file name (&lt; &gt; : &quot; | ? * or a control character)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%@ is a symbolic link (nothing is written through one)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a folder is in the way at %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot make folder %@: a file is in the way</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%@&quot; was not written: %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open With</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%@ is an update archive itself: name the archive it updates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%@ has an update numbered 999 already: no number is left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%@ lies below a higher update of the same archive, which would hide what it holds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%@ is the archive being updated: its update cannot take its place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 object</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%lu objects</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 object of %lu selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%lu objects of %lu selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the archive is damaged: its directory points outside the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file may have been cut short (a copy or download that did not finish), or it is no RFA archive at all.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the entry is damaged: its compressed data cannot be unpacked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The archive lists the entry, but its bytes are not the compressed data the archive says they are. The other entries can still be read.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileSizeFormatter</name>
    <message>
        <source>%u Bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%u KB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%.1f MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%.2f GB</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Larkspan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;h3&gt;Larkspan %1&lt;/h3&gt;&lt;p&gt;An editor for the RFA archives of Battlefield 1942 mods, and the &lt;tt&gt;rfa&lt;/tt&gt; command-line tool.&lt;/p&gt;&lt;p&gt;Released under the MIT licence.&lt;/p&gt;&lt;p&gt;Built with Qt %2, running on Qt %3.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PictureInfoText</name>
    <message>
        <source>%1, %2 × %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, %1 bits per pixel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, %1 mip levels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2 × %3, %4 bits per pixel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::ArchiveTreeModel</name>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::DocumentDialogs</name>
    <message>
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do for all files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract To</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some entries could not be handled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n problems.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>larkspan::DocumentFileController</name>
    <message>
        <source>Opening %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The archive could not be saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RFA archives (*.rfa)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to revert to the saved version of “%1”?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your changes since the last save will be lost.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Revert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to save the changes made to “%1”?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your changes will be lost if you don’t save them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Don&apos;t Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The game could not be started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>… and %n more</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Empty folders cannot be saved in an RFA archive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An archive holds only files. These folders hold none and will be left out:

%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A later update archive replaces entries that you changed here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The game reads these entries from the update named beside each, not from “%1”, and would not see the changes saved here:

%2

An update archive above them makes the game see the changes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as Update Archive…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Anyway</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” has been changed by another program since it was opened or saved here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving replaces those changes with what this window shows. Revert to Saved shows them instead, and drops the changes made here.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::EntryPreview</name>
    <message>
        <source>Script</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Texture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mesh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The WAV header cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mono</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2 Hz, %3 bits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, %1 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open With…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Items: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size: %1 (%2 bytes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stored size: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::HexView</name>
    <message>
        <source>Copy as Hex</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy as Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::HexViewerWindow</name>
    <message>
        <source>Go To and Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Offset (hex)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hex</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The entry is empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no byte at offset %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type bytes as pairs of hex digits, like 4A 0D FF.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type text of Latin-1 characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Offset %1 (%2), %3 bytes selected, of %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Offset %1 (%2) of %3 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reached the end; found from the start.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::ModProblems</name>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>init.con uses the mod %1, which is not in the Mods folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>init.con could not be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>archives that could not be read (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mods init.con names that are missing (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>init.con could not be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Part of the mod is left out: %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::ModProblemsBar</name>
    <message>
        <source>Show List…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide this note</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::ModTreeModel</name>
    <message>
        <source>Overrides:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A clash: these archives are not updates of one another, and which of them the game reads is not known. The first is shown:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::ModWindow</name>
    <message>
        <source>%1 — as the game sees it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search the whole mod (Return)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit in Archive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Entries</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit in &amp;Archive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Shift+D</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Extract…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Shift+E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Entries: %1 · Archives: %2 · Mods: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some parts of the mod are left out of what is shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searching %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Found: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract To</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extracting…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The written files could not be flushed to disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some entries could not be extracted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files to extract that are there already: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace them with the entries the game sees, or keep them and write the others?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The mod could not be read again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extracted to %1: %2 of %3 files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kept as they were: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not be written: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Entries: %1 · Archives: %2 read, %3 could not be read · Mods: %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left out: %1 — Show List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What of the mod could not be read or found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search the whole mod</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press Return to search the contents.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Found by name: %1 · Press Return to search the contents.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::MyDocument</name>
    <message>
        <source>Browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the archive as columns</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the archive as a list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search the names of entries</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search the text of scripts and text files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel the search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Names and Contents are both off: nothing is searched.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1[*] — %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::OpenWithDialog</name>
    <message>
        <source>The desktop’s application for this type of file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This program:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open With</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open “%1” with:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changes the program saves are offered back to the archive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a Program</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::OpenWithFiles</name>
    <message>
        <source>Open With</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be written to a temporary file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No application is set to open “%1”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a program with Archive → Open With….</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” was changed by another program, but it is no longer in the archive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder it was in has been removed too, so the change cannot be taken back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” was changed by another program.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to take the changed file back into the archive?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to add the changed file to “%1” as a new entry?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” already holds an entry named “%2”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder “%1” is no longer in the archive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The change was not taken back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::PictureView</name>
    <message>
        <source>This picture cannot be shown.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::PreviewPanes</name>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::RFAApplicationDelegate</name>
    <message>
        <source>&amp;New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Revert to Sa&amp;ved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save and R&amp;un</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Shift+R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New &amp;Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Shift+N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add Files…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Shift+A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Extract…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Shift+E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>As &amp;Browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>As &amp;List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Larkspan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Larkspan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RFA archives (*.rfa)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Archive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” could not be read as an RFA archive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Compress When Saving</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file holds no bytes, so there is no archive to open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open &amp;With…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show &amp;Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Shift+P</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open &amp;Mod…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Shift+O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as &amp;Update Archive…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is not a mod folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Mod</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::RFADragAndDropDelegate</name>
    <message>
        <source>The entries on the clipboard are no longer in “%1”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>They were deleted, moved or renamed there after they were copied.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Their window has closed, and the archive as saved does not hold them under the names they had when they were copied.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::RFAImageViewingController</name>
    <message>
        <source>%1 %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Fit to Window</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::SearchResultsModel</name>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::TextEditorWindow</name>
    <message>
        <source>Line %1, Column %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (mixed)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read-only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The text was not taken: an archive&apos;s scripts hold Latin-1 characters only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” was not taken: an archive&apos;s scripts hold Latin-1 characters only.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::TextFindBar</name>
    <message>
        <source>Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find Pre&amp;vious</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reached the end; found from the start.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reached the start; found from the end.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::UpdateArchiveCommand</name>
    <message>
        <source>The update archive could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparing with %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing is new or changed against “%1” and its updates.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No update archive was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” was written beside “%2”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An update archive cannot remove entries. Entries missing here that the game still sees: %1 (see the details).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New or changed entries it holds: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A later update archive has changed entries that you edited here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” would put the versions edited here over the later ones, and the game would no longer see those changes. Entries concerned: %2 (see the details).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Anyway</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Later update archives replace entries of “%1”, so the game does not read them as they are here: %2 (see the details).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>larkspan::ViewerWindows</name>
    <message>
        <source>“%1” could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
