-- Changes tools/make-msi.sh makes to the package that wixl builds from
-- Quarrow.wxs, each where wixl has no way to say it. One statement a line;
-- @NAME@, @SIZE_KB@, @UPGRADE_CODE@ and @VERSION@ are filled in by the script.
-- (Before these, the database is given code page 936: wixl writes its strings
-- before the package has a code page and crashes on any that is not ASCII,
-- so every Chinese text is set here.)

-- The product's name, the shortcuts' names and a message, in Chinese.
UPDATE Property SET Value = '@NAME@' WHERE Property = 'ProductName'
UPDATE Shortcut SET Name = 'QUARROW|@NAME@', Description = '网页搜索工具'
UPDATE LaunchCondition SET Description = '已经安装了更新版本的 Quarrow。' WHERE Condition = 'NOT WIX_DOWNGRADE_DETECTED'

-- The start-at-log-on shortcut only with AUTOSTART=1: wixl's Component has no Condition.
UPDATE Component SET Condition = 'AUTOSTART = "1"' WHERE Component = 'Autostart'

-- The settings folder, removed only where REMOVESETTINGS=1 named it (the
-- folder property is set then): wixl's RemoveFile cannot name a folder by a
-- property. Quarrow.ini by name, since Wine's Windows Installer takes no
-- wildcards; then anything else, then the folder itself.
INSERT INTO RemoveFile (FileKey, Component_, FileName, DirProperty, InstallMode) VALUES ('SettingsIni', 'SettingsFolder', 'Quarrow.ini', 'SETTINGSTOREMOVE', 2)
INSERT INTO RemoveFile (FileKey, Component_, FileName, DirProperty, InstallMode) VALUES ('SettingsOthers', 'SettingsFolder', '*', 'SETTINGSTOREMOVE', 2)
INSERT INTO RemoveFile (FileKey, Component_, DirProperty, InstallMode) VALUES ('SettingsZFolder', 'SettingsFolder', 'SETTINGSTOREMOVE', 2)

-- The size "Apps & features" shows (Wine shows this one, not its own count).
INSERT INTO Property (Property, Value) VALUES ('ARPSIZE', '@SIZE_KB@')

-- Quarrow.wxs declares CloseRunningQuarrow as an action that sets a property
-- (type 51), because wixl cannot declare one that runs a program stored in
-- the package. wixl writes its property-setting actions as type 2099 (51
-- with its own flags): those are put back to plain 51 first, then the close
-- action becomes type 2, "run the program stored in Binary QuarrowClose", its
-- command line being the value the .wxs gave the property.
UPDATE CustomAction SET Type = 51 WHERE Type = 2099
UPDATE CustomAction SET Type = 2, Source = 'QuarrowClose' WHERE Action = 'CloseRunningQuarrow'

-- A package of the same version replaces the installed one instead of going
-- beside it: wixl's MajorUpgrade writes only the older-versions row.
INSERT INTO Upgrade (UpgradeCode, VersionMin, VersionMax, Attributes, ActionProperty) VALUES ('@UPGRADE_CODE@', '@VERSION@', '@VERSION@', 769, 'WIX_UPGRADE_DETECTED')
