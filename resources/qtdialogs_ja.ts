<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- Japanese texts of Qt's own dialogs that Qt's catalogue (qtbase_ja)
     lacks or leaves in English: the print dialog, its properties and page
     set-up, the file dialogs. Loaded after Qt's catalogue, so these win. -->
<TS version="2.1" language="ja_JP">
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>Double Sided Printing</source>
        <translation>両面印刷</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>しない</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>長辺綴じ</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>短辺綴じ</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>ページ指定</translation>
    </message>
    <message>
        <source>Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.</source>
        <translation>ページまたは範囲をカンマで区切って指定します。範囲は二つの数をハイフンでつないで指定します。例: 3,5-7,9 で 3、5、6、7、9 ページを印刷します。</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Invalid Pages Definition</source>
        <translation>ページ指定の誤り</translation>
    </message>
    <message>
        <source>%1 does not follow the correct syntax. Please use &apos;,&apos; to separate ranges and pages, &apos;-&apos; to define ranges and make sure ranges do not intersect with each other.</source>
        <translation>%1 は正しい書き方ではありません。ページと範囲は &apos;,&apos; で区切り、範囲は &apos;-&apos; で指定して、範囲どうしが重ならないようにしてください。</translation>
    </message>
    <message>
        <source>Duplex Settings Conflicts</source>
        <translation>両面印刷の設定の競合</translation>
    </message>
    <message>
        <source>There are conflicts in duplex settings. Do you want to fix them?</source>
        <translation>両面印刷の設定が競合しています。修正しますか?</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesWidget</name>
    <message>
        <source>Advanced</source>
        <translation>詳細設定</translation>
    </message>
    <message>
        <source>There are conflicts in some options. Please fix them.</source>
        <translation>一部のオプションが競合しています。修正してください。</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesDialog</name>
    <message>
        <source>Page Setup Conflicts</source>
        <translation>ページ設定の競合</translation>
    </message>
    <message>
        <source>There are conflicts in page setup options. Do you want to fix them?</source>
        <translation>ページ設定のオプションが競合しています。修正しますか?</translation>
    </message>
    <message>
        <source>Advanced Option Conflicts</source>
        <translation>詳細設定の競合</translation>
    </message>
    <message>
        <source>There are conflicts in some advanced options. Do you want to fix them?</source>
        <translation>一部の詳細設定が競合しています。修正しますか?</translation>
    </message>
</context>
<context>
    <name>QPageSize</name>
    <message>
        <source>A3 Extra</source>
        <translation>A3 エクストラ</translation>
    </message>
    <message>
        <source>A4 Extra</source>
        <translation>A4 エクストラ</translation>
    </message>
    <message>
        <source>A4 Plus</source>
        <translation>A4 プラス</translation>
    </message>
    <message>
        <source>A4 Small</source>
        <translation>A4 スモール</translation>
    </message>
    <message>
        <source>A5 Extra</source>
        <translation>A5 エクストラ</translation>
    </message>
    <message>
        <source>B5 Extra</source>
        <translation>B5 エクストラ</translation>
    </message>
    <message>
        <source>Letter Extra</source>
        <translation>レター エクストラ</translation>
    </message>
    <message>
        <source>Letter Plus</source>
        <translation>レター プラス</translation>
    </message>
    <message>
        <source>Letter Small</source>
        <translation>レター スモール</translation>
    </message>
    <message>
        <source>Legal Extra</source>
        <translation>リーガル エクストラ</translation>
    </message>
    <message>
        <source>Super A</source>
        <translation>スーパー A</translation>
    </message>
    <message>
        <source>Super B</source>
        <translation>スーパー B</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Drive</source>
        <translation>ドライブ</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>フォルダー</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <comment>All other platforms</comment>
        <translation>ショートカット</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>不明</translation>
    </message>
</context>
</TS>
