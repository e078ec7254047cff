<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>BuildTexts</name>
    <message>
        <source>ビルド</source>
        <translation>Build</translation>
    </message>
    <message>
        <source>PCM データを読み込んでいます。</source>
        <translation>Loading PCM data.</translation>
    </message>
    <message>
        <source>ビルドしています。</source>
        <translation>Building.</translation>
    </message>
    <message>
        <source>ビルドしています。あと、約 %1 秒 お待ちください。</source>
        <translation>Building. About %1 seconds left.</translation>
    </message>
    <message>
        <source>PCM ファイルを開けません。ファイルが存在しないか、対応していない形式です。

%1</source>
        <translation>Cannot open the PCM file. It does not exist or its format is not supported.

%1</translation>
    </message>
    <message>
        <source>Wave サウンドファイルを作成できません。

ファイルが書込み禁止でないか、または他で使用中でないか確認してください。</source>
        <translation>Cannot create the Wave sound file.

Check that the file is not write-protected and not in use elsewhere.</translation>
    </message>
</context>
<context>
    <name>CAboutDlg</name>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>TSQ Sonalo のバージョン情報</source>
        <translation>About TSQ Sonalo</translation>
    </message>
    <message>
        <source>マニュアル(&amp;M)</source>
        <translation>&amp;Manual</translation>
    </message>
</context>
<context>
    <name>CAdjustDialog</name>
    <message>
        <source>位置の調整</source>
        <translation>Adjust Position</translation>
    </message>
    <message>
        <source>音長の調整</source>
        <translation>Adjust Length</translation>
    </message>
    <message>
        <source>音量の調整</source>
        <translation>Adjust Volume</translation>
    </message>
    <message>
        <source>増減(&amp;I):</source>
        <translation>&amp;Increase by:</translation>
    </message>
    <message>
        <source>フィット(&amp;F)</source>
        <translation>&amp;Fit</translation>
    </message>
</context>
<context>
    <name>CAudioExportDialog</name>
    <message>
        <source>書き出し</source>
        <translation>Export Audio</translation>
    </message>
    <message>
        <source>曲全体</source>
        <translation>Whole song</translation>
    </message>
    <message>
        <source>トラックごと (ミュートしていないトラック)</source>
        <translation>Each track (tracks not muted)</translation>
    </message>
    <message>
        <source>無限ループ (シームレス)</source>
        <translation>Endless loop (seamless)</translation>
    </message>
    <message>
        <source>WAV (プロジェクトの形式)</source>
        <translation>WAV (the project&apos;s format)</translation>
    </message>
    <message>
        <source>FLAC</source>
        <translation>FLAC</translation>
    </message>
    <message>
        <source>Ogg Vorbis</source>
        <translation>Ogg Vorbis</translation>
    </message>
    <message>
        <source>Opus</source>
        <translation>Opus</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>参照(&amp;B)...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <source>書き出す内容(&amp;W):</source>
        <translation>&amp;What to export:</translation>
    </message>
    <message>
        <source>ファイル形式(&amp;F):</source>
        <translation>&amp;File format:</translation>
    </message>
    <message>
        <source>品質(&amp;Q):</source>
        <translation>&amp;Quality:</translation>
    </message>
    <message>
        <source>ループ回数(&amp;N):</source>
        <translation>&amp;Number of loops:</translation>
    </message>
    <message>
        <source>フェードアウト(&amp;O):</source>
        <translation>Fade &amp;out:</translation>
    </message>
    <message>
        <source>保存先フォルダ(&amp;D):</source>
        <translation>Destination &amp;folder:</translation>
    </message>
    <message>
        <source>選択した音符の範囲</source>
        <translation>Range of the selected notes</translation>
    </message>
    <message>
        <source>保存先フォルダ</source>
        <translation>Destination Folder</translation>
    </message>
    <message>
        <source>MP3</source>
        <translation>MP3</translation>
    </message>
    <message>
        <source>%1 kbps</source>
        <translation>%1 kbps</translation>
    </message>
    <message>
        <source>ビットレート(&amp;R):</source>
        <translation>Bit &amp;rate:</translation>
    </message>
</context>
<context>
    <name>CAudioExportRunner</name>
    <message>
        <source>書き出しています。</source>
        <translation>Exporting.</translation>
    </message>
    <message>
        <source>書き出しています。あと、約 %1 秒 お待ちください。</source>
        <translation>Exporting. About %1 seconds left.</translation>
    </message>
    <message>
        <source>中止(&amp;A)</source>
        <translation>&amp;Abort</translation>
    </message>
    <message>
        <source>書き出し</source>
        <translation>Export Audio</translation>
    </message>
    <message>
        <source>書き出せませんでした。

%1</source>
        <translation>The export failed.

%1</translation>
    </message>
    <message>
        <source>書き出しが完了しました。

%1</source>
        <translation>The export is complete.

%1</translation>
    </message>
</context>
<context>
    <name>CAutosave</name>
    <message>
        <source>自動保存に失敗しました。(%1)</source>
        <translation>Autosave failed. (%1)</translation>
    </message>
</context>
<context>
    <name>CBeatDialog</name>
    <message>
        <source>拍子</source>
        <translation>Time Signature</translation>
    </message>
    <message>
        <source>小節(&amp;M):</source>
        <translation>&amp;Measure:</translation>
    </message>
    <message>
        <source>拍子(&amp;B):</source>
        <translation>Time &amp;signature:</translation>
    </message>
</context>
<context>
    <name>CBeatListDialog</name>
    <message>
        <source>拍子の設定</source>
        <translation>Time Signatures</translation>
    </message>
    <message>
        <source>小節</source>
        <translation>Measure</translation>
    </message>
    <message>
        <source>拍子</source>
        <translation>Time Signature</translation>
    </message>
    <message>
        <source>拍子の追加</source>
        <translation>Add Time Signature</translation>
    </message>
    <message>
        <source>拍子の編集</source>
        <translation>Edit Time Signature</translation>
    </message>
</context>
<context>
    <name>CBuildController</name>
    <message>
        <source>ビルドを実行するためには、プロジェクトファイルの名前と保存先が必要です。

名前と保存先を選択してビルドしますか？

（オプションで「ビルド時にプロジェクトを保存する」をチェックしていない限り、保存はされません）</source>
        <translation>A build needs a name and a folder for the project file.

Choose a name and a folder and build?

(The project is not saved unless &quot;Save the project when building&quot; is checked in the options.)</translation>
    </message>
    <message>
        <source>エンコーダが見つかりません。</source>
        <translation>The encoder cannot be found.</translation>
    </message>
    <message>
        <source>エンコード</source>
        <translation>Encode</translation>
    </message>
    <message>
        <source>既定のプレイヤーを開くことができませんでした。</source>
        <translation>Could not open the default player.</translation>
    </message>
    <message>
        <source>TSQ Sonalo を開くことができませんでした。</source>
        <translation>Could not open TSQ Sonalo.</translation>
    </message>
</context>
<context>
    <name>CBuildProgressDialog</name>
    <message>
        <source>中止(&amp;A)</source>
        <translation>&amp;Abort</translation>
    </message>
    <message>
        <source>残り約 %1 分 %2 秒</source>
        <translation>About %1 min %2 s left</translation>
    </message>
    <message>
        <source>残り約 %1 秒</source>
        <translation>About %1 s left</translation>
    </message>
</context>
<context>
    <name>CColorButton</name>
    <message>
        <source>色の設定</source>
        <translation>Choose Color</translation>
    </message>
    <message>
        <source>押すと色の設定が開き、色を選べます。</source>
        <translation>Press to open the colour chooser and pick a colour.</translation>
    </message>
</context>
<context>
    <name>CDecimalEdit</name>
    <message>
        <source>小数第1位までの数を入力します。上下キーで値を増減します。</source>
        <translation>Enter a number with up to one decimal place. Up and Down change the value.</translation>
    </message>
</context>
<context>
    <name>CDocument</name>
    <message>
        <source>%1 (復元)</source>
        <translation>%1 (recovered)</translation>
    </message>
    <message>
        <source>ファイルは変更されています。

保存しますか？</source>
        <translation>The file has been changed.

Save it?</translation>
    </message>
    <message>
        <source>%1 のオープンに失敗しました。

ファイルが見つからないか、対応していないか、古い形式です。</source>
        <translation>Could not open %1.

The file cannot be found, is not supported, or is in an old format.</translation>
    </message>
    <message>
        <source>%1 の保存に失敗しました。</source>
        <translation>Could not save %1.</translation>
    </message>
    <message>
        <source>%1 のインポートに失敗しました。

ファイルが見つからないか、壊れているか、対応していない形式です。</source>
        <translation>Could not import %1.

The file cannot be found, is damaged, or its format is not supported.</translation>
    </message>
    <message>
        <source>現在のプロジェクトにインポートしますか？

[はい]を選択すると、すべてのトラックが現在のプロジェクトに追加されます。
[いいえ]を選択すると現在のプロジェクトは破棄され、すべてのトラックとテンポなどの情報が新規プロジェクトとしてインポートされます。</source>
        <translation>Import into the current project?

[Yes] adds all tracks to the current project.
[No] discards the current project and imports all tracks, tempos and other settings as a new project.</translation>
    </message>
    <message>
        <source>%1 のエクスポートに失敗しました。</source>
        <translation>Could not export %1.</translation>
    </message>
    <message>
        <source>インポート</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>エクスポート</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>Tesselaphon Editor プロジェクト (*.tqp)</source>
        <translation>Tesselaphon Editor projects (*.tqp)</translation>
    </message>
    <message>
        <source>すべてのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>MIDI ファイル (*.mid *.midi *.smf)</source>
        <translation>MIDI files (*.mid *.midi *.smf)</translation>
    </message>
    <message>
        <source>インポート可能なファイル (*.tqp *.mid *.midi *.smf)</source>
        <translation>Importable files (*.tqp *.mid *.midi *.smf)</translation>
    </message>
</context>
<context>
    <name>CEditController</name>
    <message>
        <source>トラックの数が上限 (%1) を超えます。
この操作はできません。</source>
        <translation>The number of tracks would exceed the limit (%1).
This cannot be done.</translation>
    </message>
    <message>
        <source>音符の量が 1 曲の上限を超えます。
この操作はできません。</source>
        <translation>The song would hold more notes than its limit.
This cannot be done.</translation>
    </message>
</context>
<context>
    <name>CEncodeDialog</name>
    <message>
        <source>エンコード オプション</source>
        <translation>Encoder Options</translation>
    </message>
    <message>
        <source>エンコーダ(&amp;E):</source>
        <translation>&amp;Encoder:</translation>
    </message>
    <message>
        <source>ビットレート(&amp;B):</source>
        <translation>&amp;Bit rate:</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>午後のこ～だ gogo.dll (*.mp3)</source>
        <translation>Gogo no Coda gogo.dll (*.mp3)</translation>
    </message>
    <message>
        <source>エンコーダが見つかりません</source>
        <translation>No encoder found</translation>
    </message>
</context>
<context>
    <name>CEncodeProgressDialog</name>
    <message>
        <source>中止(&amp;A)</source>
        <translation>&amp;Abort</translation>
    </message>
    <message>
        <source>エンコード</source>
        <translation>Encode</translation>
    </message>
    <message>
        <source>エンコードしています。</source>
        <translation>Encoding.</translation>
    </message>
</context>
<context>
    <name>CEnvelopeWnd</name>
    <message>
        <source>エンベロープのプレビュー</source>
        <translation>Envelope preview</translation>
    </message>
    <message>
        <source>エンベロープの形を、横に時間、縦に音量で表示します。</source>
        <translation>Shows the shape of the envelope: time across, volume up.</translation>
    </message>
</context>
<context>
    <name>CFMDialog</name>
    <message>
        <source>貼り付けに失敗しました。</source>
        <translation>Could not paste.</translation>
    </message>
</context>
<context>
    <name>CFMDialogUi</name>
    <message>
        <source>アルゴリズム%1</source>
        <translation>Algorithm %1</translation>
    </message>
    <message>
        <source>直線</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>曲線1</source>
        <translation>Curve 1</translation>
    </message>
    <message>
        <source>曲線2</source>
        <translation>Curve 2</translation>
    </message>
    <message>
        <source>FM音源</source>
        <translation>FM</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>アルゴリズム(&amp;L):</source>
        <translation>A&amp;lgorithm:</translation>
    </message>
    <message>
        <source>フィードバック(&amp;F):</source>
        <translation>&amp;Feedback:</translation>
    </message>
    <message>
        <source>カーブ</source>
        <translation>Curve</translation>
    </message>
</context>
<context>
    <name>CFindDialog</name>
    <message>
        <source>～</source>
        <translation>to</translation>
    </message>
    <message>
        <source>検索</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>位置(&amp;P):</source>
        <translation>&amp;Position:</translation>
    </message>
    <message>
        <source>長さ(&amp;L):</source>
        <translation>&amp;Length:</translation>
    </message>
    <message>
        <source>キーオフ(&amp;F):</source>
        <translation>Key-o&amp;ff:</translation>
    </message>
    <message>
        <source>音程(&amp;K):</source>
        <translation>&amp;Key:</translation>
    </message>
    <message>
        <source>音量(&amp;V):</source>
        <translation>&amp;Volume:</translation>
    </message>
    <message>
        <source>%1 の下限</source>
        <translation>Lower bound of %1</translation>
    </message>
    <message>
        <source>%1 の上限</source>
        <translation>Upper bound of %1</translation>
    </message>
</context>
<context>
    <name>CFrameMenus</name>
    <message>
        <source>%1 を開きます。</source>
        <translation>Opens %1.</translation>
    </message>
</context>
<context>
    <name>CJumpDialog</name>
    <message>
        <source>ジャンプ</source>
        <translation>Jump</translation>
    </message>
    <message>
        <source>位置(&amp;P):</source>
        <translation>&amp;Position:</translation>
    </message>
</context>
<context>
    <name>CKeyboardWnd</name>
    <message>
        <source>鍵盤</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>クリックするか、キーボードのキーを押すと、その音を試聴します。</source>
        <translation>Click a key or press a key on the computer keyboard to hear that note.</translation>
    </message>
</context>
<context>
    <name>CLFODialog</name>
    <message>
        <source>反転(&amp;R)</source>
        <translation>&amp;Reverse</translation>
    </message>
    <message>
        <source>リセット</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>波形(&amp;W):</source>
        <translation>&amp;Waveform:</translation>
    </message>
    <message>
        <source>ディレイ(&amp;D):</source>
        <translation>&amp;Delay:</translation>
    </message>
    <message>
        <source>フェード(&amp;F):</source>
        <translation>&amp;Fade:</translation>
    </message>
    <message>
        <source>1周期の時間(&amp;E):</source>
        <translation>P&amp;eriod:</translation>
    </message>
    <message>
        <source>深度(&amp;P):</source>
        <translation>De&amp;pth:</translation>
    </message>
    <message>
        <source>LFO ピッチ (音程に対するビブラート効果)</source>
        <translation>LFO pitch (vibrato on the pitch)</translation>
    </message>
    <message>
        <source>LFO アンプ (音量に対するビブラート効果)</source>
        <translation>LFO amplitude (tremolo on the volume)</translation>
    </message>
</context>
<context>
    <name>CListDialog</name>
    <message>
        <source>追加(&amp;A)...</source>
        <translation>&amp;Add...</translation>
    </message>
    <message>
        <source>編集(&amp;E)...</source>
        <translation>&amp;Edit...</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
</context>
<context>
    <name>CLoopDialog</name>
    <message>
        <source>無限ループの設定</source>
        <translation>Endless Loop</translation>
    </message>
    <message>
        <source>無限ループを有効にする(&amp;L)</source>
        <translation>Enable the endless &amp;loop</translation>
    </message>
    <message>
        <source>開始位置(&amp;S):</source>
        <translation>&amp;Start:</translation>
    </message>
    <message>
        <source>終了位置(&amp;E):</source>
        <translation>&amp;End:</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>標準</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>キー:Bd4</source>
        <translation>Key:Bd4</translation>
    </message>
    <message>
        <source>位置:0000000000</source>
        <translation>Pos:0000000000</translation>
    </message>
    <message>
        <source>キャレットのキー</source>
        <translation>The caret&apos;s key</translation>
    </message>
    <message>
        <source>キャレットの位置 (小節:ティック)</source>
        <translation>The caret&apos;s position (measure:tick)</translation>
    </message>
    <message>
        <source>曲を編集するウィンドウです。左にトラック一覧、右にピアノロールがあります。</source>
        <translation>The window where the song is edited: the track list on the left, the piano roll on the right.</translation>
    </message>
</context>
<context>
    <name>CManualOpener</name>
    <message>
        <source>マニュアルが見つかりません。
次のフォルダにあるはずです:
%1</source>
        <translation>The manual was not found.
It should be in this folder:
%1</translation>
    </message>
</context>
<context>
    <name>CManualWindow</name>
    <message>
        <source>Tesselaphon Editor マニュアル</source>
        <translation>Tesselaphon Editor Manual</translation>
    </message>
</context>
<context>
    <name>CMeasureDialog</name>
    <message>
        <source>小節</source>
        <translation>Measure</translation>
    </message>
    <message>
        <source>小節(&amp;M):</source>
        <translation>&amp;Measure:</translation>
    </message>
    <message>
        <source>小節数(&amp;C):</source>
        <translation>&amp;Count:</translation>
    </message>
</context>
<context>
    <name>CMidiKeyboard</name>
    <message>
        <source>MIDI 入力ポート「%1」が見つかりません。再び接続すると使えます。</source>
        <translation>MIDI input port &quot;%1&quot; cannot be found. It works again once it is reconnected.</translation>
    </message>
    <message>
        <source>MIDI 入力ポート「%1」に接続しました。</source>
        <translation>Connected to MIDI input port &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>CMultipleEdit</name>
    <message>
        <source>周波数の倍率を 0.5 から 16.0 までで入力します。上下キーで整数ずつ増減します。</source>
        <translation>Enter the frequency multiple from 0.5 to 16.0. Up and Down change it by whole numbers.</translation>
    </message>
</context>
<context>
    <name>CNoteBar</name>
    <message>
        <source>音符</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>フィット(&amp;F):</source>
        <translation>&amp;Fit:</translation>
    </message>
    <message>
        <source>フィット(F): </source>
        <translation>Fit (F): </translation>
    </message>
    <message>
        <source>音長(&amp;L):</source>
        <translation>&amp;Length:</translation>
    </message>
    <message>
        <source>音長(L): </source>
        <translation>Length (L): </translation>
    </message>
    <message>
        <source>キーオフ(&amp;K):</source>
        <translation>&amp;Key-off:</translation>
    </message>
    <message>
        <source>キーオフ(K): </source>
        <translation>Key-off (K): </translation>
    </message>
    <message>
        <source>音量(&amp;V):</source>
        <translation>&amp;Volume:</translation>
    </message>
    <message>
        <source>音量(V): </source>
        <translation>Volume (V): </translation>
    </message>
    <message>
        <source>新しく入力する音符のフィット、音長、キーオフと音量です。</source>
        <translation>The fit, length, key-off and volume of notes you enter.</translation>
    </message>
</context>
<context>
    <name>CNoteCommands</name>
    <message>
        <source>小節の挿入</source>
        <translation>Insert Measures</translation>
    </message>
    <message>
        <source>挿入位置に音符が重なっています。
小節を挿入できません。</source>
        <translation>A note lies across the insert position.
The measures cannot be inserted.</translation>
    </message>
    <message>
        <source>小節の削除</source>
        <translation>Delete Measures</translation>
    </message>
    <message>
        <source>削除位置に音符が重なっています。
小節を削除できません。</source>
        <translation>A note lies across the deleted range.
The measures cannot be deleted.</translation>
    </message>
    <message>
        <source>%1 個の音符のプロパティ</source>
        <translation>Properties of %1 Notes</translation>
    </message>
    <message>
        <source>音符のプロパティ</source>
        <translation>Note Properties</translation>
    </message>
    <message>
        <source>音符の入力</source>
        <translation>Enter Note</translation>
    </message>
    <message>
        <source>音符のマイナスの位置へ移動しようとしています。</source>
        <translation>Notes would move before the start of the song.</translation>
    </message>
    <message>
        <source>位置の調整</source>
        <translation>Adjust Position</translation>
    </message>
</context>
<context>
    <name>CNoteDialog</name>
    <message>
        <source>音符</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>位置(&amp;P):</source>
        <translation>&amp;Position:</translation>
    </message>
    <message>
        <source>長さ(&amp;L):</source>
        <translation>&amp;Length:</translation>
    </message>
    <message>
        <source>キーオフ(&amp;F):</source>
        <translation>Key-o&amp;ff:</translation>
    </message>
    <message>
        <source>オクターブ(&amp;O):</source>
        <translation>&amp;Octave:</translation>
    </message>
    <message>
        <source>キー(&amp;K):</source>
        <translation>&amp;Key:</translation>
    </message>
    <message>
        <source>音量(&amp;V):</source>
        <translation>&amp;Volume:</translation>
    </message>
    <message>
        <source>ポルタメント</source>
        <translation>Portamento</translation>
    </message>
    <message>
        <source>開始位置(&amp;B):</source>
        <translation>&amp;Begin:</translation>
    </message>
    <message>
        <source>長さ(&amp;N):</source>
        <translation>Le&amp;ngth:</translation>
    </message>
    <message>
        <source>レベル(&amp;E):</source>
        <translation>L&amp;evel:</translation>
    </message>
</context>
<context>
    <name>CNumberEdit</name>
    <message>
        <source>整数を入力します。上下キーで値を増減します。</source>
        <translation>Enter a whole number. Up and Down change the value.</translation>
    </message>
</context>
<context>
    <name>COptionsDialog</name>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>%1 (未接続)</source>
        <translation>%1 (not connected)</translation>
    </message>
    <message>
        <source>MIDI 入力(&amp;I):</source>
        <translation>MIDI &amp;input:</translation>
    </message>
    <message>
        <source>再生中の編集をすぐに再生に反映する(&amp;L)</source>
        <translation>Hear edits made during p&amp;layback at once</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>言語 / Language(&amp;L):</source>
        <translation>&amp;Language:</translation>
    </message>
    <message>
        <source>言語の変更は次回の起動時から反映されます。</source>
        <translation>A change of language takes effect the next time the program starts.</translation>
    </message>
    <message>
        <source>自動保存の間隔 (秒、0 で自動保存しない)(&amp;A):</source>
        <translation>&amp;Autosave interval (seconds, 0 for none):</translation>
    </message>
    <message>
        <source>Wave サウンドファイルのデフォルトフォルダ</source>
        <translation>Default Folder for Wave Sound Files</translation>
    </message>
    <message>
        <source>拍子単位</source>
        <translation>By beat</translation>
    </message>
    <message>
        <source>小節単位</source>
        <translation>By measure</translation>
    </message>
    <message>
        <source>何もしない</source>
        <translation>Nothing</translation>
    </message>
    <message>
        <source>位置を変更</source>
        <translation>Change position</translation>
    </message>
    <message>
        <source>音長を変更</source>
        <translation>Change length</translation>
    </message>
    <message>
        <source>メトロノームの音量(&amp;V):</source>
        <translation>Metronome &amp;volume:</translation>
    </message>
</context>
<context>
    <name>COptionsDialogUi</name>
    <message>
        <source>音符をグラデーションで表示する(&amp;G)</source>
        <translation>Show notes with a &amp;gradient</translation>
    </message>
    <message>
        <source>ポルタメントを表現する(&amp;O)</source>
        <translation>Show p&amp;ortamento</translation>
    </message>
    <message>
        <source>位置キャレットを表示する(&amp;P)</source>
        <translation>Show the &amp;position caret</translation>
    </message>
    <message>
        <source>音符キャレットを表示する(&amp;T)</source>
        <translation>Show the no&amp;te caret</translation>
    </message>
    <message>
        <source>横方向のサイズ（全音符当たりのピクセル数）(&amp;H):</source>
        <translation>&amp;Horizontal size (pixels per whole note):</translation>
    </message>
    <message>
        <source>縦方向のサイズ（キー当たりのピクセル数）(&amp;V):</source>
        <translation>&amp;Vertical size (pixels per key):</translation>
    </message>
    <message>
        <source>スクロール(&amp;R):</source>
        <translation>Sc&amp;roll:</translation>
    </message>
    <message>
        <source>非アクティブトラックの音符を表示する(&amp;I)</source>
        <translation>Show notes of &amp;inactive tracks</translation>
    </message>
    <message>
        <source>非アクティブトラックの音符の色(&amp;N):</source>
        <translation>Color of i&amp;nactive tracks&apos; notes:</translation>
    </message>
    <message>
        <source>ミュートトラックの音符の色(&amp;M):</source>
        <translation>Color of &amp;muted tracks&apos; notes:</translation>
    </message>
    <message>
        <source>音符の色(&amp;C):</source>
        <translation>Note &amp;color:</translation>
    </message>
    <message>
        <source>選択された音符の色(&amp;S):</source>
        <translation>Color of &amp;selected notes:</translation>
    </message>
    <message>
        <source>シングルクリックで入力する(&amp;S)</source>
        <translation>Enter notes with a &amp;single click</translation>
    </message>
    <message>
        <source>音符の右端をドラッグして音長を変更する(&amp;L)</source>
        <translation>Drag a note&apos;s right end to change its &amp;length</translation>
    </message>
    <message>
        <source>左クリックで選択した音符を既定にする(&amp;F)</source>
        <translation>Make a note selected with a left click the de&amp;fault</translation>
    </message>
    <message>
        <source>入力直後のマウスドラッグ(&amp;D):</source>
        <translation>Mouse &amp;drag right after entering:</translation>
    </message>
    <message>
        <source>音符入力、選択時に音を再生する(&amp;P)</source>
        <translation>&amp;Play notes when they are entered or selected</translation>
    </message>
    <message>
        <source>鍵盤クリック時に音を再生する(&amp;K)</source>
        <translation>Play a note when a &amp;key is clicked</translation>
    </message>
    <message>
        <source>再生位置に追従してキャレットを移動する(&amp;M)</source>
        <translation>&amp;Move the caret with the play position</translation>
    </message>
    <message>
        <source>キャレットに追従してスクロールする(&amp;S)</source>
        <translation>&amp;Scroll with the caret</translation>
    </message>
    <message>
        <source>再生バッファサイズ(&amp;B):</source>
        <translation>Playback &amp;buffer size:</translation>
    </message>
    <message>
        <source>インクリメンタルビルドの情報を保存する(*.tqb)(&amp;I)</source>
        <translation>Save &amp;incremental build data (*.tqb)</translation>
    </message>
    <message>
        <source>ビルド時にプロジェクトを保存する(&amp;S)</source>
        <translation>&amp;Save the project when building</translation>
    </message>
    <message>
        <source>ビルド後にエンコードする(&amp;E)</source>
        <translation>&amp;Encode after building</translation>
    </message>
    <message>
        <source>ビルドに使用するスレッドの数(&amp;T):</source>
        <translation>Number of &amp;threads for building:</translation>
    </message>
    <message>
        <source>リズムチャンネルの音長を自動調整する(&amp;Y):</source>
        <translation>Set the length of rh&amp;ythm channel notes:</translation>
    </message>
    <message>
        <source>起動時に前回終了時のウィンドウ位置を復元する(&amp;W)</source>
        <translation>Restore the &amp;window position at start</translation>
    </message>
    <message>
        <source>Wave サウンドファイルのデフォルトフォルダ(&amp;F):</source>
        <translation>Default &amp;folder for Wave sound files:</translation>
    </message>
    <message>
        <source>オプション</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>View</translation>
    </message>
    <message>
        <source>色</source>
        <translation>Colors</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Editing</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Playback</translation>
    </message>
    <message>
        <source>ビルド</source>
        <translation>Build</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>Files</translation>
    </message>
</context>
<context>
    <name>CPCMDialog</name>
    <message>
        <source>サンプル</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>MP3ファイルを使用するには、別途 vbmp3.dll が必要です。</source>
        <translation>MP3 files need vbmp3.dll, which is installed separately.</translation>
    </message>
    <message>
        <source>ベースオクターブ(&amp;O):</source>
        <translation>Base &amp;octave:</translation>
    </message>
    <message>
        <source>ベースキー(&amp;K):</source>
        <translation>Base &amp;key:</translation>
    </message>
    <message>
        <source>ループ開始位置(&amp;B):</source>
        <translation>Loop &amp;begin:</translation>
    </message>
    <message>
        <source>ループ終了位置(&amp;E):</source>
        <translation>Loop &amp;end:</translation>
    </message>
    <message>
        <source>ループ回数(&amp;C):</source>
        <translation>Loop &amp;count:</translation>
    </message>
    <message>
        <source>(0で無限ループ)</source>
        <translation>(0 loops forever)</translation>
    </message>
    <message>
        <source>サウンドファイル(&amp;F)</source>
        <translation>Sound &amp;file</translation>
    </message>
    <message>
        <source>サウンドファイル (*.wav *.mp3);;すべてのファイル (*)</source>
        <translation>Sound files (*.wav *.mp3);;All files (*)</translation>
    </message>
</context>
<context>
    <name>CPianoRollWnd</name>
    <message>
        <source>ピアノロール</source>
        <translation>Piano roll</translation>
    </message>
    <message>
        <source>現在のトラックの音符を、横に時間、縦に音の高さで並べます。矢印キーでキャレットを動かし、Ins で音符を入力します。</source>
        <translation>The notes of the current track: time across, pitch up. The arrow keys move the caret; Ins enters a note.</translation>
    </message>
</context>
<context>
    <name>CPlayBar</name>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>再生位置と出力の音量です。</source>
        <translation>The play position and the output volume.</translation>
    </message>
</context>
<context>
    <name>CPlaySeekBar</name>
    <message>
        <source>位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>再生開始位置</source>
        <translation>Play start</translation>
    </message>
    <message>
        <source>曲の中の再生位置です。止まっている間は再生を始める位置を表します。</source>
        <translation>The play position in the song. While stopped, it shows where playback will start.</translation>
    </message>
</context>
<context>
    <name>CPositionEdit</name>
    <message>
        <source>位置を「小節:ティック」の形で入力します。</source>
        <translation>Enter a position as &quot;measure:tick&quot;.</translation>
    </message>
</context>
<context>
    <name>CPresetBrowser</name>
    <message>
        <source>音色ブラウザ</source>
        <translation>Preset Browser</translation>
    </message>
    <message>
        <source>音色の名前で検索</source>
        <translation>Search by preset name</translation>
    </message>
    <message>
        <source>適用(&amp;A)</source>
        <translation>&amp;Apply</translation>
    </message>
    <message>
        <source>選んだ音色を現在のトラックに適用します。</source>
        <translation>Applies the chosen preset to the current track.</translation>
    </message>
    <message>
        <source>付属の音色</source>
        <translation>Factory presets</translation>
    </message>
    <message>
        <source>ユーザーの音色</source>
        <translation>User presets</translation>
    </message>
    <message>
        <source>保存した音色を探して、現在のトラックに適用します。</source>
        <translation>Find saved sounds and apply them to the current track.</translation>
    </message>
</context>
<context>
    <name>CPresetCommands</name>
    <message>
        <source>分類「%1」には「%2」という音色がすでにあります。
置き換えますか？</source>
        <translation>Category &quot;%1&quot; already has a preset named &quot;%2&quot;.
Replace it?</translation>
    </message>
    <message>
        <source>音色を保存できませんでした。
%1</source>
        <translation>Could not save the preset.
%1</translation>
    </message>
    <message>
        <source>音色を読み込めませんでした。
%1</source>
        <translation>Could not load the preset.
%1</translation>
    </message>
    <message>
        <source>音色を読み込む</source>
        <translation>Load Preset</translation>
    </message>
    <message>
        <source>音色ファイル (*.json)</source>
        <translation>Preset files (*.json)</translation>
    </message>
    <message>
        <source>すべてのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
<context>
    <name>CPresetSaveDialog</name>
    <message>
        <source>音色を保存</source>
        <translation>Save Preset</translation>
    </message>
    <message>
        <source>分類(&amp;C):</source>
        <translation>&amp;Category:</translation>
    </message>
    <message>
        <source>名前(&amp;N):</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>分類を入力してください。</source>
        <translation>Enter a category.</translation>
    </message>
    <message>
        <source>名前を入力してください。</source>
        <translation>Enter a name.</translation>
    </message>
    <message>
        <source>分類と名前は「.」で始めず、「/」や制御文字を含めず、200 バイト以内にしてください。</source>
        <translation>Category and name must not start with &quot;.&quot;, must not contain &quot;/&quot; or control characters, and must fit in 200 bytes.</translation>
    </message>
</context>
<context>
    <name>CProjectCommands</name>
    <message>
        <source>音量の追加</source>
        <translation>Add Volume</translation>
    </message>
    <message>
        <source>テンポの追加</source>
        <translation>Add Tempo</translation>
    </message>
    <message>
        <source>拍子の追加</source>
        <translation>Add Time Signature</translation>
    </message>
</context>
<context>
    <name>CProjectDialog</name>
    <message>
        <source>曲</source>
        <translation>Song</translation>
    </message>
    <message>
        <source>無限ループの設定(&amp;L)...</source>
        <translation>&amp;Loop Settings...</translation>
    </message>
    <message>
        <source>音量(&amp;V):</source>
        <translation>&amp;Volume:</translation>
    </message>
    <message>
        <source>テンポ(&amp;T):</source>
        <translation>&amp;Tempo:</translation>
    </message>
    <message>
        <source>移調(&amp;R):</source>
        <translation>T&amp;ranspose:</translation>
    </message>
    <message>
        <source>拍子(&amp;B):</source>
        <translation>Time &amp;signature:</translation>
    </message>
    <message>
        <source>出力ファイル</source>
        <translation>Output File</translation>
    </message>
    <message>
        <source>1 (モノラル)</source>
        <translation>1 (mono)</translation>
    </message>
    <message>
        <source>2 (ステレオ)</source>
        <translation>2 (stereo)</translation>
    </message>
    <message>
        <source>直線</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>曲線1</source>
        <translation>Curve 1</translation>
    </message>
    <message>
        <source>曲線2</source>
        <translation>Curve 2</translation>
    </message>
    <message>
        <source>プチノイズを軽減する(&amp;N)</source>
        <translation>Reduce clicking &amp;noise</translation>
    </message>
    <message>
        <source>チャンネル数(&amp;C):</source>
        <translation>&amp;Channels:</translation>
    </message>
    <message>
        <source>サンプリング周期(&amp;Q):</source>
        <translation>Sample rate (&amp;Q):</translation>
    </message>
    <message>
        <source>サンプリングビット数(&amp;I):</source>
        <translation>B&amp;its per sample:</translation>
    </message>
    <message>
        <source>最初の無音時間(&amp;S):</source>
        <translation>&amp;Silence at start:</translation>
    </message>
    <message>
        <source>最後の無音時間(&amp;E):</source>
        <translation>Silence at &amp;end:</translation>
    </message>
    <message>
        <source>フェードアウト(&amp;O):</source>
        <translation>Fade &amp;out:</translation>
    </message>
    <message>
        <source>プロジェクトの設定</source>
        <translation>Project Settings</translation>
    </message>
</context>
<context>
    <name>CRegisterFileTypeDialog</name>
    <message>
        <source>アクセスが拒否されました。

管理者権限で実行して下さい。</source>
        <translation>Access was denied.

Run the program with administrator rights.</translation>
    </message>
    <message>
        <source>ファイルの関連付けを設定(&amp;R)</source>
        <translation>&amp;Register the Association</translation>
    </message>
    <message>
        <source>ファイルの関連付けを解除(&amp;U)</source>
        <translation>&amp;Unregister the Association</translation>
    </message>
    <message>
        <source>ファイルの関連付け</source>
        <translation>File Association</translation>
    </message>
    <message>
        <source>ファイルの拡張子:</source>
        <translation>File extension:</translation>
    </message>
    <message>
        <source>関連付けされていません。</source>
        <translation>Not associated.</translation>
    </message>
    <message>
        <source>既に関連付けされています。</source>
        <translation>Already associated.</translation>
    </message>
    <message>
        <source>他のアプリケーションに関連付けされています。</source>
        <translation>Associated with another application.</translation>
    </message>
    <message>
        <source>ファイルの関連付けが完了しました。</source>
        <translation>The file association is set.</translation>
    </message>
    <message>
        <source>ファイルの関連付けの解除が完了しました。</source>
        <translation>The file association is removed.</translation>
    </message>
    <message>
        <source>ファイルの拡張子</source>
        <translation>File extension</translation>
    </message>
</context>
<context>
    <name>CSeekBar</name>
    <message>
        <source>再生位置</source>
        <translation>Play position</translation>
    </message>
    <message>
        <source>再生する位置です。クリックした位置や矢印キーで動かします。</source>
        <translation>Where playback is. Click or use the arrow keys to move it.</translation>
    </message>
</context>
<context>
    <name>CSonaloDlg</name>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>ループ</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Wave ファイル (*.wav);;すべてのファイル (*)</source>
        <translation>Wave files (*.wav);;All files (*)</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
</context>
<context>
    <name>CSplitDialog</name>
    <message>
        <source>分割</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>連符(&amp;S):</source>
        <translation>&amp;Split into:</translation>
    </message>
</context>
<context>
    <name>CStepInput</name>
    <message>
        <source>ステップ入力(&amp;T)	Ctrl+Shift+I</source>
        <translation>Step &amp;Input	Ctrl+Shift+I</translation>
    </message>
    <message>
        <source>鍵盤のキーで音符をカーソル位置に入力します。
ステップ入力 (Ctrl+Shift+I)</source>
        <translation>Enters notes at the caret from the keyboard keys.
Step Input (Ctrl+Shift+I)</translation>
    </message>
</context>
<context>
    <name>CTSQApp</name>
    <message>
        <source>%1 の保存に失敗しました。</source>
        <translation>Could not save %1.</translation>
    </message>
    <message>
        <source>設定情報を削除しますか？</source>
        <translation>Delete the settings?</translation>
    </message>
    <message>
        <source>Tesselaphon Editor プロジェクト</source>
        <translation>Tesselaphon Editor project</translation>
    </message>
</context>
<context>
    <name>CTempoDialog</name>
    <message>
        <source>テンポ</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>テンポ(&amp;T):</source>
        <translation>&amp;Tempo:</translation>
    </message>
</context>
<context>
    <name>CTempoListDialog</name>
    <message>
        <source>テンポの設定</source>
        <translation>Tempos</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>テンポ</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>テンポの追加</source>
        <translation>Add Tempo</translation>
    </message>
    <message>
        <source>テンポの編集</source>
        <translation>Edit Tempo</translation>
    </message>
</context>
<context>
    <name>CTimelineItemDialog</name>
    <message>
        <source>位置(&amp;P):</source>
        <translation>&amp;Position:</translation>
    </message>
</context>
<context>
    <name>CTrackCommands</name>
    <message>
        <source>トラック</source>
        <translation>Track</translation>
    </message>
    <message>
        <source>トラックの追加</source>
        <translation>Add Track</translation>
    </message>
</context>
<context>
    <name>CTrackDialog</name>
    <message>
        <source>音色を読み込む(&amp;I)…</source>
        <translation>&amp;Load Preset…</translation>
    </message>
    <message>
        <source>音色を保存(&amp;S)…</source>
        <translation>&amp;Save Preset…</translation>
    </message>
    <message>
        <source>音符の色(&amp;C):</source>
        <translation>Note &amp;color:</translation>
    </message>
    <message>
        <source>名前(&amp;N):</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>音源</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>反転(&amp;R)</source>
        <translation>&amp;Reverse</translation>
    </message>
    <message>
        <source>デューティー比(&amp;Y):</source>
        <translation>Dut&amp;y cycle:</translation>
    </message>
    <message>
        <source>音色(&amp;O)...</source>
        <translation>S&amp;ound...</translation>
    </message>
    <message>
        <source>波形(&amp;W):</source>
        <translation>&amp;Waveform:</translation>
    </message>
    <message>
        <source>擬似波(&amp;U):</source>
        <translation>Pse&amp;udo wave:</translation>
    </message>
    <message>
        <source>音量(&amp;V):</source>
        <translation>&amp;Volume:</translation>
    </message>
    <message>
        <source>デチューン(&amp;E):</source>
        <translation>D&amp;etune:</translation>
    </message>
    <message>
        <source>パン(&amp;P):</source>
        <translation>&amp;Pan:</translation>
    </message>
    <message>
        <source>エンベロープ</source>
        <translation>Envelope</translation>
    </message>
    <message>
        <source>直線</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>曲線1</source>
        <translation>Curve 1</translation>
    </message>
    <message>
        <source>曲線2</source>
        <translation>Curve 2</translation>
    </message>
    <message>
        <source>10 秒</source>
        <translation>10 s</translation>
    </message>
    <message>
        <source>エンベロープタイプ:</source>
        <translation>Envelope type:</translation>
    </message>
    <message>
        <source>（プレビューは変化しません）</source>
        <translation>(the preview does not change)</translation>
    </message>
    <message>
        <source>ディレイ:</source>
        <translation>Delay:</translation>
    </message>
    <message>
        <source>アタックレート:</source>
        <translation>Attack rate:</translation>
    </message>
    <message>
        <source>ディケイレート:</source>
        <translation>Decay rate:</translation>
    </message>
    <message>
        <source>サスティンレート:</source>
        <translation>Sustain rate:</translation>
    </message>
    <message>
        <source>リリースレート:</source>
        <translation>Release rate:</translation>
    </message>
    <message>
        <source>アタックレベル:</source>
        <translation>Attack level:</translation>
    </message>
    <message>
        <source>サスティンレベル:</source>
        <translation>Sustain level:</translation>
    </message>
    <message>
        <source>キースケーリング:</source>
        <translation>Key scaling:</translation>
    </message>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>トラックのプロパティ</source>
        <translation>Track Properties</translation>
    </message>
</context>
<context>
    <name>CTrackRowCommands</name>
    <message>
        <source>トラックのプロパティ</source>
        <translation>Track Properties</translation>
    </message>
</context>
<context>
    <name>CTrackRowPainter</name>
    <message>
        <source>音量 %1</source>
        <translation>Volume %1</translation>
    </message>
    <message>
        <source>ミュート</source>
        <translation>muted</translation>
    </message>
</context>
<context>
    <name>CTrackWnd</name>
    <message>
        <source>トラック一覧</source>
        <translation>Track list</translation>
    </message>
    <message>
        <source>曲のトラックです。選んだ行のトラックをピアノロールで編集します。上下キーで行を選び、Alt+Enter でプロパティを開きます。</source>
        <translation>The tracks of the song. The selected row is edited in the piano roll. Up and Down select a row; Alt+Enter opens its properties.</translation>
    </message>
</context>
<context>
    <name>CVolumeBar</name>
    <message>
        <source>音量 %1</source>
        <translation>Volume %1</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>エディタの出力の音量です (0～100)。</source>
        <translation>The volume of the editor&apos;s output (0–100).</translation>
    </message>
</context>
<context>
    <name>CVolumeDialog</name>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>音量(&amp;V):</source>
        <translation>&amp;Volume:</translation>
    </message>
</context>
<context>
    <name>CVolumeListDialog</name>
    <message>
        <source>音量の設定</source>
        <translation>Volumes</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>音量の追加</source>
        <translation>Add Volume</translation>
    </message>
    <message>
        <source>音量の編集</source>
        <translation>Edit Volume</translation>
    </message>
</context>
<context>
    <name>CWaveMemoryDialog</name>
    <message>
        <source>読み込み(&amp;I)...</source>
        <translation>&amp;Import...</translation>
    </message>
    <message>
        <source>WAVファイル (*.wav);;すべてのファイル (*)</source>
        <translation>WAV files (*.wav);;All files (*)</translation>
    </message>
    <message>
        <source>波形の読み込みに失敗しました。</source>
        <translation>Could not load the waveform.</translation>
    </message>
    <message>
        <source>1周期の波形として読み込めるのは %1 サンプルまでです。</source>
        <translation>A one-cycle waveform can hold at most %1 samples.</translation>
    </message>
    <message>
        <source>波形メモリ音源</source>
        <translation>Wave memory</translation>
    </message>
    <message>
        <source>小</source>
        <translation>Small</translation>
    </message>
    <message>
        <source>中</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>大</source>
        <translation>Large</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>サイズ(&amp;S):</source>
        <translation>&amp;Size:</translation>
    </message>
    <message>
        <source>貼り付けに失敗しました。</source>
        <translation>Could not paste.</translation>
    </message>
</context>
<context>
    <name>CWaveMemoryEditWnd</name>
    <message>
        <source>波形</source>
        <translation>Waveform</translation>
    </message>
    <message>
        <source>波形メモリの波形です。マウスでドラッグして描きます。</source>
        <translation>The wave memory&apos;s waveform. Drag with the mouse to draw it.</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>標準バー(&amp;T)</source>
        <translation>S&amp;tandard Bar</translation>
    </message>
    <message>
        <source>標準バーの表示と非表示を切り替えます。
標準バー</source>
        <translation>Shows or hides the standard bar.
Standard Bar</translation>
    </message>
    <message>
        <source>再生バー(&amp;P)</source>
        <translation>&amp;Play Bar</translation>
    </message>
    <message>
        <source>再生バーの表示と非表示を切り替えます。
再生バー</source>
        <translation>Shows or hides the play bar.
Play Bar</translation>
    </message>
    <message>
        <source>音符バー(&amp;N)</source>
        <translation>&amp;Note Bar</translation>
    </message>
    <message>
        <source>音符バーの表示と非表示を切り替えます。
音符バー</source>
        <translation>Shows or hides the note bar.
Note Bar</translation>
    </message>
    <message>
        <source>ステータスバー(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>ステータスバーの表示と非表示を切り替えます。
ステータスバー</source>
        <translation>Shows or hides the status bar.
Status Bar</translation>
    </message>
    <message>
        <source>次のペイン</source>
        <translation>Next Pane</translation>
    </message>
    <message>
        <source>次のペインに切り替えます。
次のペイン</source>
        <translation>Switches to the next pane.
Next Pane</translation>
    </message>
    <message>
        <source>前のペイン</source>
        <translation>Previous Pane</translation>
    </message>
    <message>
        <source>前のペインに切り替えます。
前のペイン</source>
        <translation>Switches to the previous pane.
Previous Pane</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)	Ctrl+Z</source>
        <translation>&amp;Undo	Ctrl+Z</translation>
    </message>
    <message>
        <source>直前の操作を元に戻します。
元に戻す (Ctrl+Z)</source>
        <translation>Undoes the last action.
Undo (Ctrl+Z)</translation>
    </message>
    <message>
        <source>やり直す(&amp;R)	Ctrl+Y</source>
        <translation>&amp;Redo	Ctrl+Y</translation>
    </message>
    <message>
        <source>元に戻した操作をやり直します。
やり直す (Ctrl+Y)</source>
        <translation>Redoes the action that was undone.
Redo (Ctrl+Y)</translation>
    </message>
    <message>
        <source>全画面表示(&amp;F)	F11</source>
        <translation>&amp;Full Screen	F11</translation>
    </message>
    <message>
        <source>全画面表示と通常の表示を切り替えます。
全画面表示 (F11)</source>
        <translation>Switches between full screen and the normal window.
Full Screen (F11)</translation>
    </message>
    <message>
        <source>_</source>
        <translation>_</translation>
    </message>
    <message>
        <source>ウィンドウを最小化します。
最小化</source>
        <translation>Minimizes the window.
Minimize</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)	Ctrl+N</source>
        <translation>&amp;New	Ctrl+N</translation>
    </message>
    <message>
        <source>新しいプロジェクトを作成します。
新規作成 (Ctrl+N)</source>
        <translation>Creates a new project.
New (Ctrl+N)</translation>
    </message>
    <message>
        <source>開く(&amp;O)...	Ctrl+O</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>既存のプロジェクトを開きます。
開く (Ctrl+O)</source>
        <translation>Opens an existing project.
Open (Ctrl+O)</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)	Ctrl+S</source>
        <translation>&amp;Save	Ctrl+S</translation>
    </message>
    <message>
        <source>プロジェクトを上書き保存します。
上書き保存 (Ctrl+S)</source>
        <translation>Saves the project.
Save (Ctrl+S)</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...	Ctrl+Shift+S</source>
        <translation>Save &amp;As...	Ctrl+Shift+S</translation>
    </message>
    <message>
        <source>プロジェクトに名前を付けて保存します。
名前を付けて保存 (Ctrl+Shift+S)</source>
        <translation>Saves the project under a new name.
Save As (Ctrl+Shift+S)</translation>
    </message>
    <message>
        <source>インポート(&amp;I)...</source>
        <translation>&amp;Import...</translation>
    </message>
    <message>
        <source>プロジェクトや MIDI ファイルをインポートします。
インポート</source>
        <translation>Imports a project or a MIDI file.
Import</translation>
    </message>
    <message>
        <source>エクスポート(&amp;P)...</source>
        <translation>Ex&amp;port...</translation>
    </message>
    <message>
        <source>プロジェクトを MIDI ファイルとしてエクスポートします。
エクスポート</source>
        <translation>Exports the project as a MIDI file.
Export</translation>
    </message>
    <message>
        <source>ビルド(&amp;B)	Ctrl+Shift+B, F7</source>
        <translation>&amp;Build	Ctrl+Shift+B, F7</translation>
    </message>
    <message>
        <source>変更された部分の Wave サウンドファイルを作成します。
ビルド (F7)</source>
        <translation>Builds the changed parts of the Wave sound file.
Build (F7)</translation>
    </message>
    <message>
        <source>リビルド(&amp;R)	Shift+F7</source>
        <translation>&amp;Rebuild	Shift+F7</translation>
    </message>
    <message>
        <source>Wave サウンドファイルをすべて作成し直します。
リビルド (Shift+F7)</source>
        <translation>Builds the whole Wave sound file again.
Rebuild (Shift+F7)</translation>
    </message>
    <message>
        <source>エンコード(&amp;E)	Ctrl+E</source>
        <translation>&amp;Encode	Ctrl+E</translation>
    </message>
    <message>
        <source>Wave サウンドファイルを MP3 ファイルにエンコードします。
エンコード (Ctrl+E)</source>
        <translation>Encodes the Wave sound file into an MP3 file.
Encode (Ctrl+E)</translation>
    </message>
    <message>
        <source>最近使ったファイル</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>最近使ったプロジェクトを開きます。
最近使ったファイル</source>
        <translation>Opens a recently used project.
Recent Files</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>アプリケーションを終了します。
終了</source>
        <translation>Quits the application.
Exit</translation>
    </message>
    <message>
        <source>全音符単位(&amp;W)</source>
        <translation>&amp;Whole Note</translation>
    </message>
    <message>
        <source>2分音符単位(&amp;2)</source>
        <translation>&amp;Half Note</translation>
    </message>
    <message>
        <source>4分音符単位(&amp;4)</source>
        <translation>&amp;Quarter Note</translation>
    </message>
    <message>
        <source>8分音符単位(&amp;8)</source>
        <translation>&amp;8th Note</translation>
    </message>
    <message>
        <source>16分音符単位(&amp;1)</source>
        <translation>&amp;16th Note</translation>
    </message>
    <message>
        <source>32分音符単位(&amp;3)</source>
        <translation>&amp;32nd Note</translation>
    </message>
    <message>
        <source>64分音符単位(&amp;6)</source>
        <translation>&amp;64th Note</translation>
    </message>
    <message>
        <source>全音符(&amp;W)</source>
        <translation>&amp;Whole Note</translation>
    </message>
    <message>
        <source>2分音符(&amp;2)</source>
        <translation>&amp;Half Note</translation>
    </message>
    <message>
        <source>4分音符(&amp;4)</source>
        <translation>&amp;Quarter Note</translation>
    </message>
    <message>
        <source>8分音符(&amp;8)</source>
        <translation>&amp;8th Note</translation>
    </message>
    <message>
        <source>16分音符(&amp;1)</source>
        <translation>&amp;16th Note</translation>
    </message>
    <message>
        <source>32分音符(&amp;3)</source>
        <translation>&amp;32nd Note</translation>
    </message>
    <message>
        <source>64分音符(&amp;6)</source>
        <translation>&amp;64th Note</translation>
    </message>
    <message>
        <source>全音符</source>
        <translation>whole note</translation>
    </message>
    <message>
        <source>2分音符</source>
        <translation>half note</translation>
    </message>
    <message>
        <source>4分音符</source>
        <translation>quarter note</translation>
    </message>
    <message>
        <source>8分音符</source>
        <translation>8th note</translation>
    </message>
    <message>
        <source>16分音符</source>
        <translation>16th note</translation>
    </message>
    <message>
        <source>32分音符</source>
        <translation>32nd note</translation>
    </message>
    <message>
        <source>64分音符</source>
        <translation>64th note</translation>
    </message>
    <message>
        <source>フィット単位を%1にします。
フィット: %1</source>
        <translation>Sets the fit unit to a %1.
Fit: %1</translation>
    </message>
    <message>
        <source>既定の音長を%1にします。
音長: %1</source>
        <translation>Sets the default length to a %1.
Length: %1</translation>
    </message>
    <message>
        <source>付点</source>
        <translation>Dotted</translation>
    </message>
    <message>
        <source>フィット単位を1.5倍にします。
付点</source>
        <translation>Makes the fit unit 1.5 times as long.
Dotted</translation>
    </message>
    <message>
        <source>3連符</source>
        <translation>Triplet</translation>
    </message>
    <message>
        <source>フィット単位を1/3にします。
3連符</source>
        <translation>Makes the fit unit a third as long.
Triplet</translation>
    </message>
    <message>
        <source>既定の音長を1.5倍にします。
付点</source>
        <translation>Makes the default length 1.5 times as long.
Dotted</translation>
    </message>
    <message>
        <source>既定の音長を1/3にします。
3連符</source>
        <translation>Makes the default length a third as long.
Triplet</translation>
    </message>
    <message>
        <source>停止(&amp;S)	F6</source>
        <translation>&amp;Stop	F6</translation>
    </message>
    <message>
        <source>再生を停止します。
停止 (F6)</source>
        <translation>Stops playback.
Stop (F6)</translation>
    </message>
    <message>
        <source>巻き戻し(&amp;R)	Back Space</source>
        <translation>&amp;Rewind	Back Space</translation>
    </message>
    <message>
        <source>再生位置を全音符一つ分戻します。
巻き戻し (Back Space)</source>
        <translation>Moves the play position back by one whole note.
Rewind (Back Space)</translation>
    </message>
    <message>
        <source>早送り(&amp;F)	Space</source>
        <translation>&amp;Fast Forward	Space</translation>
    </message>
    <message>
        <source>再生位置を全音符一つ分進めます。
早送り (Space)</source>
        <translation>Moves the play position on by one whole note.
Fast Forward (Space)</translation>
    </message>
    <message>
        <source>既定のプレイヤーで再生(&amp;D)	Ctrl+F5</source>
        <translation>Play in &amp;Default Player	Ctrl+F5</translation>
    </message>
    <message>
        <source>Wave サウンドファイルを既定のプレイヤーで再生します。
既定のプレイヤーで再生 (Ctrl+F5)</source>
        <translation>Plays the Wave sound file in the default player.
Play in Default Player (Ctrl+F5)</translation>
    </message>
    <message>
        <source>TSQ Sonalo で再生(&amp;W)</source>
        <translation>Play in TSQ Sona&amp;lo</translation>
    </message>
    <message>
        <source>Wave サウンドファイルを TSQ Sonalo で再生します。
TSQ Sonalo で再生</source>
        <translation>Plays the Wave sound file in TSQ Sonalo.
Play in TSQ Sonalo</translation>
    </message>
    <message>
        <source>再生(&amp;P)	F5</source>
        <translation>&amp;Play	F5</translation>
    </message>
    <message>
        <source>Wave サウンドファイルを再生します。
再生 (F5)</source>
        <translation>Plays the Wave sound file.
Play (F5)</translation>
    </message>
    <message>
        <source>現在位置から再生(&amp;C)	Shift+F5</source>
        <translation>Play from &amp;Caret	Shift+F5</translation>
    </message>
    <message>
        <source>キャレットの位置から再生します。
現在位置から再生 (Shift+F5)</source>
        <translation>Plays from the caret.
Play from Caret (Shift+F5)</translation>
    </message>
    <message>
        <source>再生開始位置に設定(&amp;O)	F8</source>
        <translation>Set Pla&amp;y Start Here	F8</translation>
    </message>
    <message>
        <source>キャレットの位置を再生開始位置にします。
再生開始位置に設定 (F8)</source>
        <translation>Makes the caret the place where playback starts.
Set Play Start (F8)</translation>
    </message>
    <message>
        <source>プロジェクトの設定(&amp;J)...	Ctrl+Enter</source>
        <translation>Pro&amp;ject Settings...	Ctrl+Enter</translation>
    </message>
    <message>
        <source>プロジェクトの音量、テンポ、拍子、出力形式などを設定します。
プロジェクトの設定 (Ctrl+Enter)</source>
        <translation>Sets the project&apos;s volume, tempo, time signature, output format and more.
Project Settings (Ctrl+Enter)</translation>
    </message>
    <message>
        <source>音量の設定(&amp;V)...</source>
        <translation>V&amp;olumes...</translation>
    </message>
    <message>
        <source>曲の途中で変わる音量の一覧を設定します。
音量の設定</source>
        <translation>Edits the list of volume changes in the song.
Volumes</translation>
    </message>
    <message>
        <source>テンポの設定(&amp;T)...</source>
        <translation>&amp;Tempos...</translation>
    </message>
    <message>
        <source>曲の途中で変わるテンポの一覧を設定します。
テンポの設定</source>
        <translation>Edits the list of tempo changes in the song.
Tempos</translation>
    </message>
    <message>
        <source>拍子の設定(&amp;B)...</source>
        <translation>Time &amp;Signatures...</translation>
    </message>
    <message>
        <source>曲の途中で変わる拍子の一覧を設定します。
拍子の設定</source>
        <translation>Edits the list of time signature changes in the song.
Time Signatures</translation>
    </message>
    <message>
        <source>無限ループの設定(&amp;L)...</source>
        <translation>&amp;Loop Settings...</translation>
    </message>
    <message>
        <source>無限ループの範囲を設定します。
無限ループの設定</source>
        <translation>Sets the range of the endless loop.
Loop Settings</translation>
    </message>
    <message>
        <source>この位置に音量を追加(&amp;A)...</source>
        <translation>Add &amp;Volume Here...</translation>
    </message>
    <message>
        <source>キャレットの位置に音量の変化を追加します。
音量の追加</source>
        <translation>Adds a volume change at the caret.
Add Volume</translation>
    </message>
    <message>
        <source>この位置にテンポを追加(&amp;A)...</source>
        <translation>Add Te&amp;mpo Here...</translation>
    </message>
    <message>
        <source>キャレットの位置にテンポの変化を追加します。
テンポの追加</source>
        <translation>Adds a tempo change at the caret.
Add Tempo</translation>
    </message>
    <message>
        <source>この小節に拍子を追加(&amp;A)...</source>
        <translation>Add Time Si&amp;gnature to This Measure...</translation>
    </message>
    <message>
        <source>キャレットのある小節に拍子の変化を追加します。
拍子の追加</source>
        <translation>Adds a time signature change at the caret&apos;s measure.
Add Time Signature</translation>
    </message>
    <message>
        <source>この位置にループの開始を設定(&amp;S)</source>
        <translation>Set Loop Sta&amp;rt Here</translation>
    </message>
    <message>
        <source>キャレットの位置を無限ループの開始位置にします。
ループの開始</source>
        <translation>Makes the caret the start of the endless loop.
Loop Start</translation>
    </message>
    <message>
        <source>この位置にループの終了を設定(&amp;E)</source>
        <translation>Set Loop End &amp;Here</translation>
    </message>
    <message>
        <source>キャレットの位置を無限ループの終了位置にします。
ループの終了</source>
        <translation>Makes the caret the end of the endless loop.
Loop End</translation>
    </message>
    <message>
        <source>追加(&amp;A)...	Ctrl+T</source>
        <translation>&amp;Add...	Ctrl+T</translation>
    </message>
    <message>
        <source>新しいトラックを追加します。
トラックの追加 (Ctrl+T)</source>
        <translation>Adds a new track.
Add Track (Ctrl+T)</translation>
    </message>
    <message>
        <source>複製(&amp;L)</source>
        <translation>Dup&amp;licate</translation>
    </message>
    <message>
        <source>現在のトラックを複製します。
トラックの複製</source>
        <translation>Duplicates the current track.
Duplicate Track</translation>
    </message>
    <message>
        <source>上へ(&amp;U)	Alt+↑</source>
        <translation>Move &amp;Up	Alt+↑</translation>
    </message>
    <message>
        <source>現在のトラックを一つ上へ移動します。
上へ (Alt+↑)</source>
        <translation>Moves the current track up by one.
Move Up (Alt+↑)</translation>
    </message>
    <message>
        <source>下へ(&amp;D)	Alt+↓</source>
        <translation>Move Do&amp;wn	Alt+↓</translation>
    </message>
    <message>
        <source>現在のトラックを一つ下へ移動します。
下へ (Alt+↓)</source>
        <translation>Moves the current track down by one.
Move Down (Alt+↓)</translation>
    </message>
    <message>
        <source>ミュート(&amp;M)	Ctrl+M</source>
        <translation>&amp;Mute	Ctrl+M</translation>
    </message>
    <message>
        <source>現在のトラックのミュートを切り替えます。
ミュート (Ctrl+M)</source>
        <translation>Mutes or unmutes the current track.
Mute (Ctrl+M)</translation>
    </message>
    <message>
        <source>このトラック以外をすべてミュート(&amp;X)</source>
        <translation>Mute All &amp;Except This</translation>
    </message>
    <message>
        <source>現在のトラック以外のすべてのトラックをミュートします。
このトラック以外をミュート</source>
        <translation>Mutes every track except the current one.
Mute All Except This</translation>
    </message>
    <message>
        <source>すべてのトラックのミュートを解除(&amp;N)</source>
        <translation>U&amp;nmute All Tracks</translation>
    </message>
    <message>
        <source>すべてのトラックのミュートを解除します。
ミュートの解除</source>
        <translation>Unmutes every track.
Unmute All</translation>
    </message>
    <message>
        <source>音色の設定(&amp;O)...	Shift+Enter</source>
        <translation>&amp;Sound Settings...	Shift+Enter</translation>
    </message>
    <message>
        <source>PCM、波形メモリ、FM の音色を設定します。
音色の設定 (Shift+Enter)</source>
        <translation>Sets up the PCM, wave memory or FM sound.
Sound Settings (Shift+Enter)</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)...	F1</source>
        <translation>&amp;Help...	F1</translation>
    </message>
    <message>
        <source>操作の説明を表示します。
ヘルプ (F1)</source>
        <translation>Shows how to use the editor.
Help (F1)</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>プログラムの情報、バージョン、著作権を表示します。
バージョン情報</source>
        <translation>Shows information about the program, its version and copyright.
About</translation>
    </message>
    <message>
        <source>オプション(&amp;O)...</source>
        <translation>&amp;Options...</translation>
    </message>
    <message>
        <source>エディタの動作と表示を設定します。
オプション</source>
        <translation>Sets how the editor behaves and looks.
Options</translation>
    </message>
    <message>
        <source>既定のプロジェクトの設定(&amp;D)...</source>
        <translation>&amp;Default Project Settings...</translation>
    </message>
    <message>
        <source>新しいプロジェクトの既定の設定を変更します。
既定のプロジェクトの設定</source>
        <translation>Changes the settings that new projects start with.
Default Project Settings</translation>
    </message>
    <message>
        <source>エンコード オプション(&amp;E)...</source>
        <translation>&amp;Encoder Options...</translation>
    </message>
    <message>
        <source>MP3 エンコーダとビットレートを設定します。
エンコード オプション</source>
        <translation>Sets the MP3 encoder and bit rate.
Encoder Options</translation>
    </message>
    <message>
        <source>プロジェクトファイルの関連付け(&amp;P)...</source>
        <translation>Associate &amp;Project Files...</translation>
    </message>
    <message>
        <source>プロジェクトファイルをこのエディタに関連付けます。
関連付け</source>
        <translation>Makes project files open in this editor.
Associate</translation>
    </message>
    <message>
        <source>プロジェクトの保存先を開く(&amp;J)</source>
        <translation>Open Pro&amp;ject Folder</translation>
    </message>
    <message>
        <source>プロジェクトファイルの保存先のフォルダを開きます。
プロジェクトの保存先を開く</source>
        <translation>Opens the folder the project file is saved in.
Open Project Folder</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)	Ctrl+X</source>
        <translation>Cu&amp;t	Ctrl+X</translation>
    </message>
    <message>
        <source>選択された音符やトラックを切り取ってクリップボードに移動します。
切り取り (Ctrl+X)</source>
        <translation>Moves the selected notes or track to the clipboard.
Cut (Ctrl+X)</translation>
    </message>
    <message>
        <source>コピー(&amp;C)	Ctrl+C</source>
        <translation>&amp;Copy	Ctrl+C</translation>
    </message>
    <message>
        <source>選択された音符やトラックをクリップボードにコピーします。
コピー (Ctrl+C)</source>
        <translation>Copies the selected notes or track to the clipboard.
Copy (Ctrl+C)</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)	Ctrl+V</source>
        <translation>&amp;Paste	Ctrl+V</translation>
    </message>
    <message>
        <source>クリップボードの内容を貼り付けます。
貼り付け (Ctrl+V)</source>
        <translation>Pastes what the clipboard holds.
Paste (Ctrl+V)</translation>
    </message>
    <message>
        <source>削除(&amp;D)	Del</source>
        <translation>&amp;Delete	Del</translation>
    </message>
    <message>
        <source>選択された音符やトラックを削除します。
削除 (Del)</source>
        <translation>Deletes the selected notes or track.
Delete (Del)</translation>
    </message>
    <message>
        <source>プロパティ(&amp;R)...	Alt+Enter</source>
        <translation>Pr&amp;operties...	Alt+Enter</translation>
    </message>
    <message>
        <source>選択された音符やトラックのプロパティを設定します。
プロパティ (Alt+Enter)</source>
        <translation>Edits the properties of the selected notes or track.
Properties (Alt+Enter)</translation>
    </message>
    <message>
        <source>検索(&amp;F)...	Ctrl+F</source>
        <translation>&amp;Find...	Ctrl+F</translation>
    </message>
    <message>
        <source>条件に合う音符を検索して選択します。
検索 (Ctrl+F)</source>
        <translation>Finds and selects the notes that match.
Find (Ctrl+F)</translation>
    </message>
    <message>
        <source>ジャンプ(&amp;J)...	Ctrl+G</source>
        <translation>&amp;Jump...	Ctrl+G</translation>
    </message>
    <message>
        <source>指定した位置にキャレットを移動します。
ジャンプ (Ctrl+G)</source>
        <translation>Moves the caret to a position you enter.
Jump (Ctrl+G)</translation>
    </message>
    <message>
        <source>すべて選択(&amp;A)	Ctrl+A</source>
        <translation>Select &amp;All	Ctrl+A</translation>
    </message>
    <message>
        <source>トラックのすべての音符を選択します。
すべて選択 (Ctrl+A)</source>
        <translation>Selects all the track&apos;s notes.
Select All (Ctrl+A)</translation>
    </message>
    <message>
        <source>以降をすべて選択(&amp;O)</source>
        <translation>Select All Follo&amp;wing</translation>
    </message>
    <message>
        <source>キャレット以降のすべての音符を選択します。
以降をすべて選択</source>
        <translation>Selects every note from the caret on.
Select All Following</translation>
    </message>
    <message>
        <source>選択の反転(&amp;I)	Ctrl+I</source>
        <translation>&amp;Invert Selection	Ctrl+I</translation>
    </message>
    <message>
        <source>音符の選択状態を反転します。
選択の反転 (Ctrl+I)</source>
        <translation>Selects the notes that are not selected and deselects the others.
Invert Selection (Ctrl+I)</translation>
    </message>
    <message>
        <source>選択の解除(&amp;E)	Ctrl+D</source>
        <translation>Cl&amp;ear Selection	Ctrl+D</translation>
    </message>
    <message>
        <source>音符の選択を解除します。
選択の解除 (Ctrl+D)</source>
        <translation>Deselects all notes.
Clear Selection (Ctrl+D)</translation>
    </message>
    <message>
        <source>小節の挿入(&amp;I)...</source>
        <translation>I&amp;nsert Measures...</translation>
    </message>
    <message>
        <source>キャレットの位置に空の小節を挿入します。
小節の挿入</source>
        <translation>Inserts empty measures at the caret.
Insert Measures</translation>
    </message>
    <message>
        <source>小節の削除(&amp;L)...</source>
        <translation>Delete &amp;Measures...</translation>
    </message>
    <message>
        <source>指定した小節を削除します。
小節の削除</source>
        <translation>Deletes the measures you enter.
Delete Measures</translation>
    </message>
    <message>
        <source>音符の入力(&amp;N)...	Ins</source>
        <translation>Enter &amp;Note...	Ins</translation>
    </message>
    <message>
        <source>ダイアログで音符を入力します。
音符の入力 (Ins)</source>
        <translation>Enters a note through a dialog.
Enter Note (Ins)</translation>
    </message>
    <message>
        <source>既定の音符に設定(&amp;D)</source>
        <translation>&amp;Set as Default Note</translation>
    </message>
    <message>
        <source>選択された音符の音長、キーオフ、音量を既定の音符にします。
既定の音符に設定</source>
        <translation>Makes the selected note&apos;s length, key-off and volume the default.
Set as Default Note</translation>
    </message>
    <message>
        <source>位置の調整(&amp;P)...</source>
        <translation>Ad&amp;just Position...</translation>
    </message>
    <message>
        <source>選択された音符の位置を調整します。
位置の調整</source>
        <translation>Moves the selected notes.
Adjust Position</translation>
    </message>
    <message>
        <source>音長の調整(&amp;L)...</source>
        <translation>Adjust &amp;Length...</translation>
    </message>
    <message>
        <source>選択された音符の音長を調整します。
音長の調整</source>
        <translation>Changes the length of the selected notes.
Adjust Length</translation>
    </message>
    <message>
        <source>音量の調整(&amp;V)...</source>
        <translation>Adj&amp;ust Volume...</translation>
    </message>
    <message>
        <source>選択された音符の音量を調整します。
音量の調整</source>
        <translation>Changes the volume of the selected notes.
Adjust Volume</translation>
    </message>
    <message>
        <source>自由分割(&amp;S)...</source>
        <translation>&amp;Custom Split...</translation>
    </message>
    <message>
        <source>選択された音符を指定した数に等分します。
自由分割</source>
        <translation>Splits the selected notes into as many equal parts as you enter.
Custom Split</translation>
    </message>
    <message>
        <source>&amp;%1連符</source>
        <translation>&amp;%1-tuplet</translation>
    </message>
    <message>
        <source>選択された音符を%1等分します。
%1連符に分割</source>
        <translation>Splits the selected notes into %1 equal parts.
Split into %1-tuplet</translation>
    </message>
    <message>
        <source>選択範囲をループ再生(&amp;L)	Ctrl+L</source>
        <translation>Loop Selectio&amp;n	Ctrl+L</translation>
    </message>
    <message>
        <source>選択した音符の範囲を繰り返し再生します。もう一度選ぶとループを終えて再生を続けます。
選択範囲をループ再生 (Ctrl+L)</source>
        <translation>Plays the stretch of the selected notes over and over. Choose it again to end the loop and play on.
Loop Selection (Ctrl+L)</translation>
    </message>
    <message>
        <source>メトロノーム(&amp;M)	Ctrl+Shift+M</source>
        <translation>&amp;Metronome	Ctrl+Shift+M</translation>
    </message>
    <message>
        <source>再生中に拍ごとにクリック音を鳴らします。ファイルには書き込まれません。
メトロノーム (Ctrl+Shift+M)</source>
        <translation>Clicks on every beat while playing. The clicks are never written to a file.
Metronome (Ctrl+Shift+M)</translation>
    </message>
    <message>
        <source>ソロ(&amp;Y)</source>
        <translation>Solo T&amp;rack</translation>
    </message>
    <message>
        <source>現在のトラックをソロにして、ソロのトラックだけを再生します。トラック一覧でミュートの絵を Ctrl+クリックしても切り替わります。曲には保存されず、ビルドするファイルは変わりません。
ソロ (ミュートの絵を Ctrl+クリック)</source>
        <translation>Solos the current track: only soloed tracks play. Ctrl+click on a mute picture in the track list does the same. Solo is not saved in the song and does not change the built file.
Solo (Ctrl+click the mute picture)</translation>
    </message>
    <message>
        <source>録音(&amp;E)	Ctrl+R</source>
        <translation>R&amp;ecord	Ctrl+R</translation>
    </message>
    <message>
        <source>再生中に弾いた鍵盤を現在のトラックに入力します。
録音 (Ctrl+R)</source>
        <translation>Enters the keys you play during playback on the current track.
Record (Ctrl+R)</translation>
    </message>
</context>
<context>
    <name>DialogUtil</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>書き出し(&amp;W)...</source>
        <translation>Export A&amp;udio...</translation>
    </message>
    <message>
        <source>曲やトラックごとの音声を WAV、FLAC、Ogg Vorbis、Opus ファイルに書き出します。
書き出し</source>
        <translation>Exports the song, or each track, as WAV, FLAC, Ogg Vorbis or Opus files.
Export Audio</translation>
    </message>
</context>
<context>
    <name>Menus</name>
    <message>
        <source>連符に分割(&amp;U)</source>
        <translation>Split into &amp;Tuplets</translation>
    </message>
    <message>
        <source>フィット単位(&amp;F)</source>
        <translation>&amp;Fit Unit</translation>
    </message>
    <message>
        <source>既定の音長(&amp;E)</source>
        <translation>Default L&amp;ength</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>プロジェクト(&amp;J)</source>
        <translation>Pro&amp;ject</translation>
    </message>
    <message>
        <source>トラック(&amp;T)</source>
        <translation>&amp;Track</translation>
    </message>
    <message>
        <source>音符(&amp;N)</source>
        <translation>&amp;Note</translation>
    </message>
    <message>
        <source>再生(&amp;P)</source>
        <translation>&amp;Play</translation>
    </message>
    <message>
        <source>ツール(&amp;O)</source>
        <translation>T&amp;ools</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
</context>
<context>
    <name>PianoRollText</name>
    <message>
        <source>長さ:%1<byte value="xd"/>
キーオフ:%2<byte value="xd"/>
音量:%3</source>
        <translation>Length:%1<byte value="xd"/>
Key-off:%2<byte value="xd"/>
Volume:%3</translation>
    </message>
    <message>
        <source>%1 個の音符が選択されています。</source>
        <translation>%1 notes selected.</translation>
    </message>
    <message>
        <source>Shift 範囲選択/音長変更  Ctrl 追加選択</source>
        <translation>Shift: select range/change length  Ctrl: add to selection</translation>
    </message>
    <message>
        <source>キャレット %1、%2</source>
        <translation>Caret %1, %2</translation>
    </message>
    <message>
        <source>。音符 %1、位置 %2、長さ %3、音量 %4</source>
        <translation>. Note %1, position %2, length %3, volume %4</translation>
    </message>
</context>
<context>
    <name>PresetCommands</name>
    <message>
        <source>音色を読み込む(&amp;I)…</source>
        <translation>L&amp;oad Preset…</translation>
    </message>
    <message>
        <source>音色ファイルを選んで、現在のトラックの音色をその音色にします。
音色を読み込む</source>
        <translation>Gives the current track the sound of a preset file you choose.
Load Preset</translation>
    </message>
    <message>
        <source>音色を保存(&amp;S)…</source>
        <translation>Save &amp;Preset…</translation>
    </message>
    <message>
        <source>現在のトラックの音色を名前を付けて保存します。
音色を保存</source>
        <translation>Saves the current track&apos;s sound as a named preset.
Save Preset</translation>
    </message>
    <message>
        <source>音色ブラウザ(&amp;B)</source>
        <translation>Preset &amp;Browser</translation>
    </message>
    <message>
        <source>音色ブラウザの表示と非表示を切り替えます。
音色ブラウザ</source>
        <translation>Shows or hides the preset browser.
Preset Browser</translation>
    </message>
</context>
<context>
    <name>RecoveryOffer</name>
    <message>
        <source>復元</source>
        <translation>Recovery</translation>
    </message>
    <message>
        <source>前回の編集内容を復元しますか？

曲名: %1
時刻: %2
ファイル: %3</source>
        <translation>Restore the work of the last session?

Song: %1
Time: %2
File: %3</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>復元ファイル %1 は壊れているため、復元できません。

%2</source>
        <translation>Recovery file %1 is damaged and cannot be restored.

%2</translation>
    </message>
    <message>
        <source>この復元ファイルを破棄しますか？

[いいえ] を選択すると、次回の起動時にもう一度確認します。</source>
        <translation>Discard this recovery file?

[No] asks again at the next start.</translation>
    </message>
</context>
<context>
    <name>SourceKind</name>
    <message>
        <source>矩形波</source>
        <translation>Square</translation>
    </message>
    <message>
        <source>三角波</source>
        <translation>Triangle</translation>
    </message>
    <message>
        <source>鋸歯状波（ノコギリ波）</source>
        <translation>Sawtooth</translation>
    </message>
    <message>
        <source>正弦波</source>
        <translation>Sine</translation>
    </message>
    <message>
        <source>ノイズ</source>
        <translation>Noise</translation>
    </message>
    <message>
        <source>PCM</source>
        <translation>PCM</translation>
    </message>
    <message>
        <source>波形メモリ音源</source>
        <translation>Wave memory</translation>
    </message>
    <message>
        <source>FM音源</source>
        <translation>FM</translation>
    </message>
</context>
</TS>
