<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>ActuatorTypes</name>
    <message>
        <source>50 : TALOR1A</source>
        <translation>50 : TALOR1A</translation>
    </message>
    <message>
        <source>60 : MOVA3</source>
        <translation>60 : MOVA3</translation>
    </message>
    <message>
        <source>61 : TALOR3A (TALOR3)</source>
        <translation>61 : TALOR3A (TALOR3)</translation>
    </message>
    <message>
        <source>62 : TALOR5A (TALOR5)</source>
        <translation>62 : TALOR5A (TALOR5)</translation>
    </message>
    <message>
        <source>63 : TALOR10A (TALOR10)</source>
        <translation>63 : TALOR10A (TALOR10)</translation>
    </message>
    <message>
        <source>64 : TALOR20A (TALOR20)</source>
        <translation>64 : TALOR20A (TALOR20)</translation>
    </message>
    <message>
        <source>65 : TALOR40A</source>
        <translation>65 : TALOR40A</translation>
    </message>
    <message>
        <source>66 : TALOR60A</source>
        <translation>66 : TALOR60A</translation>
    </message>
    <message>
        <source>Actuator No.</source>
        <translation>アクチュエータNo.</translation>
    </message>
    <message>
        <source>(+) Software Limit</source>
        <translation>(+)ソフトウェアリミット</translation>
    </message>
    <message>
        <source>(-) Software Limit</source>
        <translation>(-)ソフトウェアリミット</translation>
    </message>
    <message>
        <source>Load Inertia</source>
        <translation>負荷イナーシャ</translation>
    </message>
    <message>
        <source>Acceleration</source>
        <translation>加速度</translation>
    </message>
    <message>
        <source>Org return direction</source>
        <translation>原点復帰方向</translation>
    </message>
    <message>
        <source>0: CW  1: CCW</source>
        <translation>0: CW  1: CCW</translation>
    </message>
    <message>
        <source>Positioning complete pulse (Previous controller only)</source>
        <translation>位置決め完了パルス（旧コントローラのみ）</translation>
    </message>
    <message>
        <source>0: Valid function  1: Invalid function</source>
        <translation>0: 機能有効  1: 機能無効</translation>
    </message>
    <message>
        <source>Org return speed</source>
        <translation>原点復帰速度</translation>
    </message>
    <message>
        <source>Operating angle</source>
        <translation>動作角度</translation>
    </message>
    <message>
        <source>English or Japanese</source>
        <translation>表示言語（英語/日本語）</translation>
    </message>
    <message>
        <source>0: English  1: Japanese</source>
        <translation>0: 英語  1: 日本語</translation>
    </message>
    <message>
        <source>Teaching movement speed</source>
        <translation>ティーチング移動速度</translation>
    </message>
    <message>
        <source>Teaching movement unit</source>
        <translation>ティーチング移動単位</translation>
    </message>
    <message>
        <source>No limit mode</source>
        <translation>リミットなしモード</translation>
    </message>
    <message>
        <source>0: ON  1: OFF</source>
        <translation>0: ON  1: OFF</translation>
    </message>
    <message>
        <source>Max Speed</source>
        <translation>最高速度</translation>
    </message>
    <message>
        <source>Motor speed for checking wire break</source>
        <translation>断線検出用モータ速度</translation>
    </message>
    <message>
        <source>Origin point shift</source>
        <translation>原点シフト量</translation>
    </message>
    <message>
        <source>Origin shift speed</source>
        <translation>原点シフト速度</translation>
    </message>
    <message>
        <source>Actuator Type</source>
        <translation>アクチュエータタイプ</translation>
    </message>
    <message>
        <source>Origin point shift speed</source>
        <translation>原点シフト速度</translation>
    </message>
    <message>
        <source>Pulse row input mode change</source>
        <translation>パルス列入力モード切替</translation>
    </message>
    <message>
        <source>Up-scaling function of pulse row</source>
        <translation>パルス列逓倍機能</translation>
    </message>
    <message>
        <source>Motor servo method</source>
        <translation>モータサーボ方式</translation>
    </message>
    <message>
        <source>0: Use  1: Not use</source>
        <translation>0: 使用する  1: 使用しない</translation>
    </message>
    <message>
        <source>INPOS output time</source>
        <translation>INPOS出力時間</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Setting Value</source>
        <translation>設定値</translation>
    </message>
    <message>
        <source>Setting Range      </source>
        <translation>設定範囲      </translation>
    </message>
    <message>
        <source>Initial Value </source>
        <translation>初期値 </translation>
    </message>
    <message>
        <source>                 Note</source>
        <translation>                 備考</translation>
    </message>
    <message>
        <source>Setting Range         </source>
        <translation>設定範囲         </translation>
    </message>
</context>
<context>
    <name>DialogButtons</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>KAP Support-Software</source>
        <translation>KAP Support-Software</translation>
    </message>
</context>
<context>
    <name>Exchange</name>
    <message>
        <source>Compare</source>
        <translation>比較</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止しました。</translation>
    </message>
    <message>
        <source>Point_No%1 NG</source>
        <translation>ポイントNo%1 NG</translation>
    </message>
    <message>
        <source>Zone_No%1 NG</source>
        <translation>ゾーンNo%1 NG</translation>
    </message>
    <message>
        <source>Parameter_No%1 NG</source>
        <translation>パラメータNo%1 NG</translation>
    </message>
    <message>
        <source>Comparison of data has finished successfully.</source>
        <translation>データの比較が正常に終了しました。</translation>
    </message>
    <message>
        <source>Do you compare data?</source>
        <translation>データを比較しますか？</translation>
    </message>
    <message>
        <source>Error history display</source>
        <translation>エラー履歴表示</translation>
    </message>
    <message>
        <source>SaveAs</source>
        <translation>名前を付けて保存</translation>
    </message>
    <message>
        <source>Setting file(*.csv)|*.csv|</source>
        <translation>設定ファイル(*.csv)|*.csv|</translation>
    </message>
    <message>
        <source>TALOR Support-Software%1</source>
        <translation>TALOR Support-Software%1</translation>
    </message>
    <message>
        <source>%1cannot be saved because it is read only or it is opened.</source>
        <translation>%1は読み取り専用か、開かれているため保存できません。</translation>
    </message>
    <message>
        <source>Data un-transmitting.</source>
        <translation>データ未送信</translation>
    </message>
    <message>
        <source>0: Invalid 1: Valid</source>
        <translation>0: 無効 1: 有効</translation>
    </message>
    <message>
        <source>0: ON  1: OFF</source>
        <translation>0: ON  1: OFF</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>パラメータ</translation>
    </message>
    <message>
        <source>Do you change to English?</source>
        <translation>英語表示に切り替えますか？</translation>
    </message>
    <message>
        <source>    Complete.</source>
        <translation>    完了しました。</translation>
    </message>
    <message>
        <source>Point initialization</source>
        <translation>ポイント初期化</translation>
    </message>
    <message>
        <source>Zone initialization</source>
        <translation>ゾーン初期化</translation>
    </message>
    <message>
        <source>Do you initialize point data?</source>
        <translation>ポイントデータを初期化しますか？</translation>
    </message>
    <message>
        <source>Do you initialize zone data?</source>
        <translation>ゾーンデータを初期化しますか？</translation>
    </message>
    <message>
        <source>Initializing has completed.</source>
        <translation>初期化が完了しました。</translation>
    </message>
    <message>
        <source>Parameter initialization</source>
        <translation>パラメータ初期化</translation>
    </message>
    <message>
        <source>Do you initialize parameter data?</source>
        <translation>パラメータデータを初期化しますか？</translation>
    </message>
    <message>
        <source>Initialization of the origin</source>
        <translation>原点の初期化</translation>
    </message>
    <message>
        <source> Do you initialize the origin?</source>
        <translation> 原点を初期化しますか？</translation>
    </message>
    <message>
        <source>Initialization of the origin has finished.</source>
        <translation>原点の初期化が終了しました。</translation>
    </message>
    <message>
        <source>Change the origin</source>
        <translation>原点変更</translation>
    </message>
    <message>
        <source>Do you change the origin?</source>
        <translation>原点を変更しますか？</translation>
    </message>
    <message>
        <source>Change of the origin has finished.</source>
        <translation>原点の変更が終了しました。</translation>
    </message>
    <message>
        <source>Changing the origin</source>
        <translation>原点変更</translation>
    </message>
    <message>
        <source> Do you changing the origin?</source>
        <translation> 原点を変更しますか？</translation>
    </message>
    <message>
        <source>Changing of the origin has finished.</source>
        <translation>原点の変更が終了しました。</translation>
    </message>
    <message>
        <source>Data not received.</source>
        <translation>データ未受信</translation>
    </message>
    <message>
        <source>0:Valid function  1:Invalid function</source>
        <translation>0:機能有効  1:機能無効</translation>
    </message>
    <message>
        <source>0:ON  1:OFF</source>
        <translation>0:ON  1:OFF</translation>
    </message>
    <message>
        <source>Point reception</source>
        <translation>ポイント受信</translation>
    </message>
    <message>
        <source>Zone reception</source>
        <translation>ゾーン受信</translation>
    </message>
    <message>
        <source>Do you receive point data?</source>
        <translation>ポイントデータを受信しますか？</translation>
    </message>
    <message>
        <source>Do you receive zone data?</source>
        <translation>ゾーンデータを受信しますか？</translation>
    </message>
    <message>
        <source>Receiving has finished.</source>
        <translation>受信が終了しました。</translation>
    </message>
    <message>
        <source>Receive Point</source>
        <translation>ポイント受信</translation>
    </message>
    <message>
        <source>Receive Zone</source>
        <translation>ゾーン受信</translation>
    </message>
    <message>
        <source>Parameter reception</source>
        <translation>パラメータ受信</translation>
    </message>
    <message>
        <source>Do you receive parameter data?</source>
        <translation>パラメータデータを受信しますか？</translation>
    </message>
    <message>
        <source>Receive Parameter</source>
        <translation>パラメータ受信</translation>
    </message>
    <message>
        <source>Transmitting has finished.</source>
        <translation>送信が終了しました。</translation>
    </message>
    <message>
        <source>Data is not completed. Please check data.</source>
        <translation>データが未完成です。データを確認してください。</translation>
    </message>
    <message>
        <source>Values more than stroke are input. Please confirm position data entry value of point No.%1.</source>
        <translation>ストロークを超える値が入力されています。ポイントNo.%1の位置データ入力値を確認してください。</translation>
    </message>
    <message>
        <source>No.%1data has become less than the speed of data input range. Please check data.</source>
        <translation>No.%1のデータが速度の入力範囲を下回っています。データを確認してください。</translation>
    </message>
    <message>
        <source>Transmit Point</source>
        <translation>ポイント送信</translation>
    </message>
    <message>
        <source>Do you transmit point data?</source>
        <translation>ポイントデータを送信しますか？</translation>
    </message>
    <message>
        <source>Transmit Zone</source>
        <translation>ゾーン送信</translation>
    </message>
    <message>
        <source>Do you transmit zone data?</source>
        <translation>ゾーンデータを送信しますか？</translation>
    </message>
    <message>
        <source>Data un-transmitting</source>
        <translation>データ未送信</translation>
    </message>
    <message>
        <source>Please confirm position data entry value of point No.%1.</source>
        <translation>ポイントNo.%1の位置データ入力値を確認してください。</translation>
    </message>
    <message>
        <source>Do you transmit parameter data?</source>
        <translation>パラメータデータを送信しますか？</translation>
    </message>
    <message>
        <source>Cannot transmit data because some of point data in controller is out of the range of PRM21</source>
        <translation>コントローラ内のポイントデータの一部がPRM21の範囲外のため、データを送信できません。</translation>
    </message>
    <message>
        <source>Transmit Parameter</source>
        <translation>パラメータ送信</translation>
    </message>
    <message>
        <source>The controller&apos;s point data was erased and is now incomplete. Transmit again.</source>
        <translation>コントローラのポイントデータは消去され、不完全な状態です。もう一度送信してください。</translation>
    </message>
    <message>
        <source>The controller&apos;s zone data was erased and is now incomplete. Transmit again.</source>
        <translation>コントローラのゾーンデータは消去され、不完全な状態です。もう一度送信してください。</translation>
    </message>
</context>
<context>
    <name>FrameTables</name>
    <message>
        <source>File(&amp;F)</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>New File(&amp;N)</source>
        <translation>新規作成(&amp;N)</translation>
    </message>
    <message>
        <source>Open(&amp;O)...</source>
        <translation>開く(&amp;O)...</translation>
    </message>
    <message>
        <source>Save As(&amp;A)...</source>
        <translation>名前を付けて保存(&amp;A)...</translation>
    </message>
    <message>
        <source>Print(&amp;P)...</source>
        <translation>印刷(&amp;P)...</translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>印刷プレビュー</translation>
    </message>
    <message>
        <source>Exit(&amp;X)</source>
        <translation>終了(&amp;X)</translation>
    </message>
    <message>
        <source>View(&amp;V)</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <source>Point(&amp;P)</source>
        <translation>ポイント(&amp;P)</translation>
    </message>
    <message>
        <source>Parameters(&amp;R)</source>
        <translation>パラメータ(&amp;R)</translation>
    </message>
    <message>
        <source>Toolbar(&amp;T)</source>
        <translation>ツールバー(&amp;T)</translation>
    </message>
    <message>
        <source>Statusbar(&amp;B)</source>
        <translation>ステータスバー(&amp;B)</translation>
    </message>
    <message>
        <source>Communication log</source>
        <translation>通信ログ</translation>
    </message>
    <message>
        <source>Angle plot</source>
        <translation>角度グラフ</translation>
    </message>
    <message>
        <source>Tool(&amp;T)</source>
        <translation>ツール(&amp;T)</translation>
    </message>
    <message>
        <source>Transmit(Point)</source>
        <translation>送信(ポイント)</translation>
    </message>
    <message>
        <source>Transmit(Zones)</source>
        <translation>送信(ゾーン)</translation>
    </message>
    <message>
        <source>Transmit(Parameters)</source>
        <translation>送信(パラメータ)</translation>
    </message>
    <message>
        <source>Receive(Point)</source>
        <translation>受信(ポイント)</translation>
    </message>
    <message>
        <source>Receive(Zones)</source>
        <translation>受信(ゾーン)</translation>
    </message>
    <message>
        <source>Receive(Parameters)</source>
        <translation>受信(パラメータ)</translation>
    </message>
    <message>
        <source>Com_Setup</source>
        <translation>通信設定</translation>
    </message>
    <message>
        <source>Error history display</source>
        <translation>エラー履歴表示</translation>
    </message>
    <message>
        <source>Error History Display</source>
        <translation>エラー履歴表示</translation>
    </message>
    <message>
        <source>Rotary operating speed calculation</source>
        <translation>回転動作速度計算</translation>
    </message>
    <message>
        <source>Changing Origin</source>
        <translation>原点変更</translation>
    </message>
    <message>
        <source>Changing the origin</source>
        <translation>原点変更</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>比較</translation>
    </message>
    <message>
        <source>Init</source>
        <translation>初期化</translation>
    </message>
    <message>
        <source>Point</source>
        <translation>ポイント</translation>
    </message>
    <message>
        <source>Zones</source>
        <translation>ゾーン</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>パラメータ</translation>
    </message>
    <message>
        <source>ORG</source>
        <translation>原点</translation>
    </message>
    <message>
        <source>Help(&amp;H)</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>Version(&amp;A)</source>
        <translation>バージョン情報(&amp;A)</translation>
    </message>
    <message>
        <source>NewFile</source>
        <translation>新規作成</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message>
        <source>SaveAS</source>
        <translation>名前を付けて保存</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>印刷</translation>
    </message>
    <message>
        <source>ComSetup</source>
        <translation>通信設定</translation>
    </message>
    <message>
        <source>Init(Point)</source>
        <translation>初期化(ポイント)</translation>
    </message>
    <message>
        <source>Cmpare</source>
        <translation>比較</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>表示切替</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>SaveAs</source>
        <translation>名前を付けて保存</translation>
    </message>
    <message>
        <source>Init(Zones)</source>
        <translation>初期化(ゾーン)</translation>
    </message>
    <message>
        <source>Save(&amp;S)</source>
        <translation>上書き保存(&amp;S)</translation>
    </message>
</context>
<context>
    <name>Link</name>
    <message>
        <source>The communication error. Please check the connection.</source>
        <translation>通信エラーです。接続を確認してください。</translation>
    </message>
    <message>
        <source>Cannot receive data from controller.</source>
        <translation>コントローラからデータを受信できません。</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
</context>
<context>
    <name>Operation</name>
    <message>
        <source>Return to origin? Please push stop switch if you stop operating.</source>
        <translation>原点復帰しますか？動作を停止する場合は停止スイッチを押してください。</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>運転</translation>
    </message>
    <message>
        <source>Return to origin</source>
        <translation>原点復帰</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>起動</translation>
    </message>
    <message>
        <source> Do you start?</source>
        <translation> 起動しますか？</translation>
    </message>
    <message>
        <source>Point</source>
        <translation>ポイント</translation>
    </message>
    <message>
        <source>Org</source>
        <translation>原点</translation>
    </message>
    <message>
        <source>Receive the current value</source>
        <translation>現在値受信</translation>
    </message>
    <message>
        <source>I/O monitor</source>
        <translation>I/Oモニタ</translation>
    </message>
    <message>
        <source>Please set a value as 0 to %1 *10^%2 kg･m^2.</source>
        <translation>0～%1 *10^%2 kg･m^2の範囲で設定してください。</translation>
    </message>
    <message>
        <source>Please set a value within 1 to 100%.</source>
        <translation>1～100%の範囲で設定してください。</translation>
    </message>
    <message>
        <source>Please set a value within 0.01 to 1.00rps.</source>
        <translation>0.01～1.00rpsの範囲で設定してください。</translation>
    </message>
    <message>
        <source>Servo</source>
        <translation>サーボ</translation>
    </message>
    <message>
        <source>Servo OFF</source>
        <translation>サーボOFF</translation>
    </message>
    <message>
        <source>Servo ON</source>
        <translation>サーボON</translation>
    </message>
    <message>
        <source>Execute servo OFF?</source>
        <translation>サーボOFFしますか？</translation>
    </message>
    <message>
        <source>Execute servo ON?</source>
        <translation>サーボONしますか？</translation>
    </message>
    <message>
        <source>Brake</source>
        <translation>ブレーキ</translation>
    </message>
    <message>
        <source>Brake OFF</source>
        <translation>ブレーキOFF</translation>
    </message>
    <message>
        <source>Brake ON</source>
        <translation>ブレーキON</translation>
    </message>
    <message>
        <source>Turn OFF brake?</source>
        <translation>ブレーキをOFFしますか？</translation>
    </message>
    <message>
        <source>Turn ON brake?</source>
        <translation>ブレーキをONしますか？</translation>
    </message>
    <message>
        <source>Canceling alarm</source>
        <translation>アラーム解除</translation>
    </message>
    <message>
        <source>Cancel alarm?</source>
        <translation>アラームを解除しますか？</translation>
    </message>
    <message>
        <source>Clearing pulse-deviation</source>
        <translation>偏差クリア</translation>
    </message>
    <message>
        <source>Clear pulse-deviation?</source>
        <translation>偏差をクリアしますか？</translation>
    </message>
    <message>
        <source>Execute return to origin? If stopping in operations required, press Pop-up button.</source>
        <translation>原点復帰を実行しますか？動作中に停止する場合は、ポップアップのボタンを押してください。</translation>
    </message>
    <message>
        <source>Do you turn off the power of motor? Cannot change the mode during turning off the power of motor.</source>
        <translation>モータの電源をOFFしますか？モータ電源OFF中はモードを変更できません。</translation>
    </message>
    <message>
        <source>Direct Teach</source>
        <translation>ダイレクトティーチ</translation>
    </message>
    <message>
        <source>JOG</source>
        <translation>ジョグ</translation>
    </message>
    <message>
        <source>Teaching Playback</source>
        <translation>ティーチングプレイバック</translation>
    </message>
    <message>
        <source>error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Please set a value as -327.68 to 327.67mm.</source>
        <translation>-327.68～327.67mmの範囲で設定してください。</translation>
    </message>
    <message>
        <source>Please set a value within -%1 to %1</source>
        <translation>-%1～%1の範囲で設定してください。</translation>
    </message>
    <message>
        <source>Please set a value as -327.68 to 327.67.</source>
        <translation>-327.68～327.67の範囲で設定してください。</translation>
    </message>
    <message>
        <source>Please set a value as 0 to 359.99.</source>
        <translation>0～359.99の範囲で設定してください。</translation>
    </message>
    <message>
        <source>Terminate teaching setting?</source>
        <translation>ティーチング設定を終了しますか？</translation>
    </message>
    <message>
        <source>Teaching</source>
        <translation>ティーチング</translation>
    </message>
    <message>
        <source>Transmit</source>
        <translation>送信</translation>
    </message>
    <message>
        <source>Parameter read-out</source>
        <translation>パラメータ読み出し</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>パラメータ</translation>
    </message>
    <message>
        <source>Do you send virtual origin data?</source>
        <translation>仮想原点データを送信しますか？</translation>
    </message>
    <message>
        <source>Data un-transmitting.</source>
        <translation>データ未送信</translation>
    </message>
    <message>
        <source>Transmitting and receiving has finished.</source>
        <translation>送受信が終了しました。</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>PrintList</name>
    <message>
        <source>               --- TALOR Support software Setting list (Point Data) Printing time: </source>
        <translation>               --- TALOR サポートソフトウェア 設定一覧（ポイントデータ） 印刷日時: </translation>
    </message>
    <message>
        <source>               --- TALOR Support software Setting list (Zone Data) Printing time: </source>
        <translation>               --- TALOR サポートソフトウェア 設定一覧（ゾーンデータ） 印刷日時: </translation>
    </message>
    <message>
        <source>            --- TALOR Support software Setting list (Parameter Data) Printing time: </source>
        <translation>            --- TALOR サポートソフトウェア 設定一覧（パラメータデータ） 印刷日時: </translation>
    </message>
    <message>
        <source>               --- TALOR Support software Setting list (Parameter Data) Printing time: </source>
        <translation>               --- TALOR サポートソフトウェア 設定一覧（パラメータデータ） 印刷日時: </translation>
    </message>
    <message>
        <source>No.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>モード</translation>
    </message>
    <message>
        <source>Position(deg)</source>
        <translation>位置(deg)</translation>
    </message>
    <message>
        <source>Speed(%)</source>
        <translation>速度(%)</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>備考</translation>
    </message>
    <message>
        <source>Data No.</source>
        <translation>データNo.</translation>
    </message>
    <message>
        <source>Start position</source>
        <translation>開始位置</translation>
    </message>
    <message>
        <source>End position</source>
        <translation>終了位置</translation>
    </message>
    <message>
        <source>PRM NO.</source>
        <translation>PRM NO.</translation>
    </message>
    <message>
        <source>Setting Data</source>
        <translation>設定データ</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>is not a regular file</source>
        <translation>は通常のファイルではありません</translation>
    </message>
    <message>
        <source>is a symbolic link in a shared folder, made by another user</source>
        <translation>は共有フォルダーにある他のユーザーが作ったシンボリックリンクです</translation>
    </message>
    <message>
        <source>is read only</source>
        <translation>は読み取り専用です</translation>
    </message>
    <message>
        <source>could not be written completely</source>
        <translation>を最後まで書き込めませんでした</translation>
    </message>
    <message>
        <source>does not exist</source>
        <translation>は存在しません</translation>
    </message>
    <message>
        <source>is too large</source>
        <translation>は大きすぎます</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>を読み込めません</translation>
    </message>
</context>
<context>
    <name>SettingCommands</name>
    <message>
        <source>SaveAs</source>
        <translation>名前を付けて保存</translation>
    </message>
    <message>
        <source>Setting file(*.csv)|*.csv|</source>
        <translation>設定ファイル(*.csv)|*.csv|</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message>
        <source>Setting file(*.csv)|*.csv</source>
        <translation>設定ファイル(*.csv)|*.csv</translation>
    </message>
    <message>
        <source>Do you save data?</source>
        <translation>データを保存しますか？</translation>
    </message>
    <message>
        <source>%1 cannot be saved because it is read only or it is opened.</source>
        <translation>%1 は読み取り専用か、開かれているため保存できません。</translation>
    </message>
    <message>
        <source>    Complete.</source>
        <translation>    完了しました。</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>名前を付けて保存</translation>
    </message>
    <message>
        <source>Cannot open file.</source>
        <translation>ファイルを開けません。</translation>
    </message>
    <message>
        <source>Controller type is different.</source>
        <translation>コントローラの機種が異なります。</translation>
    </message>
    <message>
        <source>Controller type</source>
        <translation>コントローラ機種</translation>
    </message>
    <message>
        <source>PRM %1 was not in the file</source>
        <translation>PRM %1 はファイルにありませんでした</translation>
    </message>
    <message>
        <source>PRM %1 were not in the file</source>
        <translation>PRM %1 はファイルにありませんでした</translation>
    </message>
    <message>
        <source>PRM %1 was out of range</source>
        <translation>PRM %1 は範囲外でした</translation>
    </message>
    <message>
        <source>PRM %1 were out of range</source>
        <translation>PRM %1 は範囲外でした</translation>
    </message>
    <message>
        <source>%1 and %2; set to their initial values</source>
        <translation>%1。%2。初期値に設定しました</translation>
    </message>
    <message>
        <source>%1; set to its initial value</source>
        <translation>%1。初期値に設定しました</translation>
    </message>
    <message>
        <source>%1; set to their initial values</source>
        <translation>%1。初期値に設定しました</translation>
    </message>
    <message>
        <source>All files(*)|*</source>
        <translation>すべてのファイル(*)|*</translation>
    </message>
    <message>
        <source>The note of point %1</source>
        <translation>ポイント %1 のメモ</translation>
    </message>
    <message>
        <source>The note of zone %1</source>
        <translation>ゾーン %1 のメモ</translation>
    </message>
    <message>
        <source>Line %1 of the file</source>
        <translation>ファイルの %1 行目</translation>
    </message>
    <message>
        <source>Save as %1</source>
        <translation>%1 で保存</translation>
    </message>
    <message>
        <source>Save as %1 (replace with ?)</source>
        <translation>%1 で保存 (? に置き換え)</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>%1 holds &quot;%2&quot;, which %3 cannot hold.</source>
        <translation>%1 に %3 で表せない文字「%2」があります。</translation>
    </message>
    <message>
        <source>KAP Support-Software - %1</source>
        <translation>KAP Support-Software - %1</translation>
    </message>
    <message>
        <source>Saved to %1</source>
        <translation>%1 に保存しました</translation>
    </message>
    <message>
        <source>Read as %1: the file is not %2 text</source>
        <translation>%1 として読みました: このファイルは %2 のテキストではありません</translation>
    </message>
    <message>
        <source>The file is neither %1 nor %2 text; some notes may read wrong</source>
        <translation>このファイルは %1 でも %2 でもありません。メモの一部が正しく読めていない可能性があります</translation>
    </message>
</context>
<context>
    <name>SettingListPrinting</name>
    <message>
        <source>Setting list</source>
        <translation>設定一覧</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>印刷</translation>
    </message>
    <message>
        <source>PDF file(*.pdf)|*.pdf|</source>
        <extracomment>File dialog filter: description|pattern|; keep the |*.pdf| part.</extracomment>
        <translation>PDFファイル(*.pdf)|*.pdf|</translation>
    </message>
    <message>
        <source>%1 cannot be saved because it is read only or it is opened.</source>
        <translation>%1 は読み取り専用か、または開かれているため保存できません。</translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>印刷プレビュー</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>%1 %2; not read, port COM1</source>
        <translation>%1 %2。読み込まず、ポートは COM1 です</translation>
    </message>
</context>
<context>
    <name>SpeedCalculation</name>
    <message>
        <source>Blank in input field.</source>
        <translation>入力欄が空白です。</translation>
    </message>
    <message>
        <source>Cannot input 0 to moving distance and speed.</source>
        <translation>移動量と速度に0は入力できません。</translation>
    </message>
    <message>
        <source>Cannot input 0 or less to moving distance and speed.</source>
        <translation>移動量と速度に0以下の値は入力できません。</translation>
    </message>
    <message>
        <source>Cannot compute due to input data error.</source>
        <translation>入力データに誤りがあるため計算できません。</translation>
    </message>
    <message>
        <source>Max. input value for load inertia is %1.</source>
        <translation>負荷イナーシャの最大入力値は %1 です。</translation>
    </message>
</context>
<context>
    <name>TableHost</name>
    <message>
        <source>A note holds at most %1 characters; this one has %2 and was not taken.</source>
        <translation>備考は %1 文字までです。この入力は %2 文字のため受け付けませんでした。</translation>
    </message>
</context>
<context>
    <name>Version</name>
    <message>
        <source>Ver %1.%2.%3</source>
        <translation>Ver %1.%2.%3</translation>
    </message>
</context>
<context>
    <name>kap::ActuatorTypeDialog</name>
    <message>
        <source>Actuator type</source>
        <translation>アクチュエータタイプ</translation>
    </message>
    <message>
        <source>TALOR</source>
        <translation>TALOR</translation>
    </message>
    <message>
        <source>MOVA</source>
        <translation>MOVA</translation>
    </message>
    <message>
        <source>Please input an actuator type.</source>
        <translation>アクチュエータタイプを入力してください。</translation>
    </message>
</context>
<context>
    <name>kap::AnglePlotWindow</name>
    <message>
        <source>0 s</source>
        <translation>0 s</translation>
    </message>
    <message>
        <source>−%1 s</source>
        <translation>−%1 s</translation>
    </message>
    <message>
        <source>Angle (deg)</source>
        <translation>角度 (deg)</translation>
    </message>
    <message>
        <source>no reading for %1 s</source>
        <translation>%1 s 間読み取りなし</translation>
    </message>
    <message>
        <source>Current %1°</source>
        <translation>現在 %1°</translation>
    </message>
    <message>
        <source>Current —</source>
        <translation>現在 —</translation>
    </message>
    <message>
        <source>No angle readings in this span</source>
        <translation>この期間の角度データはありません</translation>
    </message>
    <message>
        <source>10 s</source>
        <translation>10 s</translation>
    </message>
    <message>
        <source>30 s</source>
        <translation>30 s</translation>
    </message>
    <message>
        <source>60 s</source>
        <translation>60 s</translation>
    </message>
    <message>
        <source>2 min</source>
        <translation>2分</translation>
    </message>
    <message>
        <source>5 min</source>
        <translation>5分</translation>
    </message>
    <message>
        <source>Angle plot</source>
        <translation>角度グラフ</translation>
    </message>
    <message>
        <source>&amp;Time span:</source>
        <translation>表示期間(&amp;T):</translation>
    </message>
    <message>
        <source>Export PNG…</source>
        <translation>PNGエクスポート…</translation>
    </message>
    <message>
        <source>Export PNG</source>
        <translation>PNGエクスポート</translation>
    </message>
    <message>
        <source>PNG image(*.png)|*.png|</source>
        <extracomment>File dialog filter: description|pattern|; keep the |*.png| part.</extracomment>
        <translation>PNG画像(*.png)|*.png|</translation>
    </message>
    <message>
        <source>The picture could not be saved to %1.
%2</source>
        <translation>画像を %1 に保存できませんでした。
%2</translation>
    </message>
</context>
<context>
    <name>kap::CommLogWindow</name>
    <message>
        <source>Communication log</source>
        <translation>通信ログ</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>クリア</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>前へ</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>次へ</translation>
    </message>
    <message>
        <source>Save as…</source>
        <translation>名前を付けて保存…</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Paused: 1 new line not shown</source>
        <translation>一時停止中: 新しい1行は表示されていません</translation>
    </message>
    <message>
        <source>Paused: %1 new lines not shown</source>
        <translation>一時停止中: 新しい%1行は表示されていません</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>再開</translation>
    </message>
    <message>
        <source>&quot;%1&quot; not found</source>
        <translation>「%1」が見つかりません</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>名前を付けて保存</translation>
    </message>
    <message>
        <source>Text file(*.txt)|*.txt|All files(*.*)|*.*|</source>
        <extracomment>File dialog filter: description|pattern| pairs; keep the |*.txt| and |*.*| parts.</extracomment>
        <translation>テキストファイル(*.txt)|*.txt|すべてのファイル(*.*)|*.*|</translation>
    </message>
    <message>
        <source>The log could not be saved to %1: %2</source>
        <translation>ログを %1 に保存できませんでした: %2</translation>
    </message>
</context>
<context>
    <name>kap::DrivePanel</name>
    <message>
        <source>on</source>
        <translation>点灯</translation>
    </message>
    <message>
        <source>off</source>
        <translation>消灯</translation>
    </message>
    <message>
        <source>Point number output, bit %1</source>
        <translation>ポイント番号出力 ビット %1</translation>
    </message>
    <message>
        <source>Ready: the controller takes commands</source>
        <translation>レディ: コントローラはコマンドを受け付けます</translation>
    </message>
    <message>
        <source>Busy: the actuator is moving</source>
        <translation>ビジー: アクチュエータが動作中です</translation>
    </message>
    <message>
        <source>Enable: the servo is on and pulses are taken</source>
        <translation>イネーブル: サーボONでパルスを受け付けます</translation>
    </message>
    <message>
        <source>In position: the actuator has reached its target</source>
        <translation>位置決め完了: アクチュエータが目標位置に達しました</translation>
    </message>
    <message>
        <source>In position, or holding</source>
        <translation>位置決め完了、または保持中</translation>
    </message>
    <message>
        <source>Hold: the motion is held</source>
        <translation>ホールド: 動作を一時停止しています</translation>
    </message>
    <message>
        <source>Zone: the angle lies in the zone output range</source>
        <translation>ゾーン: 角度がゾーン出力範囲内にあります</translation>
    </message>
    <message>
        <source>Setting mode: edit and exchange the data</source>
        <translation>設定モード: データを編集し、コントローラとやり取りします</translation>
    </message>
    <message>
        <source>Operation mode: drive the actuator</source>
        <translation>運転モード: アクチュエータを動かします</translation>
    </message>
    <message>
        <source>Move to the chosen point</source>
        <translation>選んだポイントへ移動します</translation>
    </message>
    <message>
        <source>Return to origin</source>
        <translation>原点に復帰します</translation>
    </message>
    <message>
        <source>Stop the actuator</source>
        <translation>アクチュエータを停止します</translation>
    </message>
    <message>
        <source>Take the taught value into the table</source>
        <translation>ティーチングした値をテーブルに取り込みます</translation>
    </message>
    <message>
        <source>Keyboard: %1</source>
        <translation>キーボード: %1</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>設定モード</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>運転モード</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>ティーチング</translation>
    </message>
    <message>
        <source>Direct teaching</source>
        <translation>ダイレクトティーチ</translation>
    </message>
    <message>
        <source>Numeric Input </source>
        <translation>数値入力 </translation>
    </message>
    <message>
        <source>Direct Teaching </source>
        <translation>ダイレクトティーチ </translation>
    </message>
    <message>
        <source>Teaching Playback</source>
        <translation>ティーチングプレイバック</translation>
    </message>
    <message>
        <source>Origin point shift</source>
        <translation>原点シフト</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Setting position (deg)</source>
        <translation>設定位置 (deg)</translation>
    </message>
    <message>
        <source>SET</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>CW</source>
        <translation>CW</translation>
    </message>
    <message>
        <source>CCW</source>
        <translation>CCW</translation>
    </message>
    <message>
        <source>Jog CW</source>
        <translation>ジョグ CW</translation>
    </message>
    <message>
        <source>Jog CCW</source>
        <translation>ジョグ CCW</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>パラメータ</translation>
    </message>
    <message>
        <source>Load Inertia </source>
        <translation>負荷イナーシャ </translation>
    </message>
    <message>
        <source>Acceleration</source>
        <translation>加速度</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Org return Speed</source>
        <translation>原点復帰速度</translation>
    </message>
    <message>
        <source>rps</source>
        <translation>rps</translation>
    </message>
    <message>
        <source>Org return direction</source>
        <translation>原点復帰方向</translation>
    </message>
    <message>
        <source>Org return CW</source>
        <translation>原点復帰 CW</translation>
    </message>
    <message>
        <source>Org return CCW</source>
        <translation>原点復帰 CCW</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>運転</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>起動</translation>
    </message>
    <message>
        <source>Org</source>
        <translation>原点</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Servo ON</source>
        <translation>サーボON</translation>
    </message>
    <message>
        <source>Brake OFF</source>
        <translation>ブレーキOFF</translation>
    </message>
    <message>
        <source>Positioning operation</source>
        <translation>位置決め動作</translation>
    </message>
    <message>
        <source>Clearing pulse-deviation</source>
        <translation>偏差クリア</translation>
    </message>
    <message>
        <source>Canceling alarm</source>
        <translation>アラーム解除</translation>
    </message>
    <message>
        <source>Current angle</source>
        <translation>現在角度</translation>
    </message>
    <message>
        <source>(deg)</source>
        <translation>(deg)</translation>
    </message>
    <message>
        <source>View</source>
        <translation>表示</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>表示</translation>
    </message>
    <message>
        <source>READY</source>
        <translation>READY</translation>
    </message>
    <message>
        <source>BUSY</source>
        <translation>BUSY</translation>
    </message>
    <message>
        <source>INPOS</source>
        <translation>INPOS</translation>
    </message>
    <message>
        <source>HOLD</source>
        <translation>HOLD</translation>
    </message>
    <message>
        <source>Pos 0</source>
        <translation>Pos 0</translation>
    </message>
    <message>
        <source>Pos 1</source>
        <translation>Pos 1</translation>
    </message>
    <message>
        <source>Pos 2</source>
        <translation>Pos 2</translation>
    </message>
    <message>
        <source>Pos 3</source>
        <translation>Pos 3</translation>
    </message>
    <message>
        <source>Pos 4</source>
        <translation>Pos 4</translation>
    </message>
    <message>
        <source>Pos 5</source>
        <translation>Pos 5</translation>
    </message>
    <message>
        <source>ENABLE</source>
        <translation>ENABLE</translation>
    </message>
    <message>
        <source>INPOS/HOLD</source>
        <translation>INPOS/HOLD</translation>
    </message>
    <message>
        <source>ZONE</source>
        <translation>ZONE</translation>
    </message>
    <message>
        <source>ALR</source>
        <translation>ALR</translation>
    </message>
    <message>
        <source>CCLR</source>
        <translation>CCLR</translation>
    </message>
    <message>
        <source>BRK</source>
        <translation>BRK</translation>
    </message>
    <message>
        <source>Alarm: the controller has an alarm</source>
        <translation>アラーム: コントローラにアラームが発生しています</translation>
    </message>
    <message>
        <source>Deviation counter clear</source>
        <translation>偏差カウンタクリア</translation>
    </message>
    <message>
        <source>Brake: the brake is released</source>
        <translation>ブレーキ: ブレーキが解放されています</translation>
    </message>
    <message>
        <source>Controller error</source>
        <translation>コントローラエラー</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Last command sent</source>
        <translation>最後に送信したコマンド</translation>
    </message>
    <message>
        <source>Last reply received</source>
        <translation>最後に受信した応答</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>送信</translation>
    </message>
    <message>
        <source>Received</source>
        <translation>受信</translation>
    </message>
    <message>
        <source>*10&lt;sup&gt;%1&lt;/sup&gt; kg.m&lt;sup&gt;%2&lt;/sup&gt;</source>
        <translation>*10&lt;sup&gt;%1&lt;/sup&gt; kg.m&lt;sup&gt;%2&lt;/sup&gt;</translation>
    </message>
    <message>
        <source>*10^%1 kg.m^%2</source>
        <translation>*10^%1 kg.m^%2</translation>
    </message>
</context>
<context>
    <name>kap::ErrorHistoryWindow</name>
    <message>
        <source>Error history display</source>
        <translation>エラー履歴表示</translation>
    </message>
    <message>
        <source>The oldest error message is shown at the top of lists.</source>
        <translation>最も古いエラーメッセージが一覧の先頭に表示されます。</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
</context>
<context>
    <name>kap::KeypadDialog</name>
    <message>
        <source>Input a numerical value.</source>
        <translation>数値を入力してください。</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>値</translation>
    </message>
    <message>
        <source>CLR</source>
        <translation>CLR</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>クリア</translation>
    </message>
    <message>
        <source>Minus</source>
        <translation>マイナス</translation>
    </message>
    <message>
        <source>Decimal point</source>
        <translation>小数点</translation>
    </message>
    <message>
        <source>Enter</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>kap::MainFrame</name>
    <message>
        <source>PQ_Series KAP Support-Software </source>
        <translation>PQ_Series KAP Support-Software </translation>
    </message>
    <message>
        <source>Tool bar</source>
        <translation>ツールバー</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>CAPS</source>
        <translation>CAPS</translation>
    </message>
    <message>
        <source>KAP Support-Software  %1</source>
        <translation>KAP Support-Software  %1</translation>
    </message>
    <message>
        <source>Point input type</source>
        <translation>ポイント入力タイプ</translation>
    </message>
    <message>
        <source>Pulse train input type</source>
        <translation>パルス列入力タイプ</translation>
    </message>
    <message>
        <source>Point table</source>
        <translation>ポイントテーブル</translation>
    </message>
    <message>
        <source>Zone table</source>
        <translation>ゾーンテーブル</translation>
    </message>
    <message>
        <source>Parameter table</source>
        <translation>パラメータテーブル</translation>
    </message>
    <message>
        <source>Origin point shift: %1</source>
        <translation>原点シフト: %1</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>言語(Language)</translation>
    </message>
    <message>
        <source>The language could not be kept in your settings.</source>
        <translation>言語の設定を保存できませんでした。</translation>
    </message>
    <message>
        <source>The windows will be in %1 from the next start of the program.</source>
        <translation>次回の起動から%1で表示します。</translation>
    </message>
    <message>
        <source>Recent files</source>
        <translation>最近使ったファイル</translation>
    </message>
    <message>
        <source>%1 is no longer there; taken off the recent files</source>
        <translation>%1 は見つかりません。最近使ったファイルから外しました</translation>
    </message>
    <message>
        <source>Edit(&amp;I)</source>
        <translation>編集(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>元に戻す(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>やり直し(&amp;R)</translation>
    </message>
    <message>
        <source>File encoding</source>
        <translation>ファイルの文字コード</translation>
    </message>
    <message>
        <source>Windows-1252 (Western)</source>
        <translation>Windows-1252 (欧文)</translation>
    </message>
    <message>
        <source>Shift_JIS (Japanese)</source>
        <translation>Shift_JIS (日本語)</translation>
    </message>
    <message>
        <source>The file encoding could not be kept in your settings.</source>
        <translation>ファイルの文字コードの設定を保存できませんでした。</translation>
    </message>
    <message>
        <source>The controller did not answer in time.</source>
        <translation>コントローラが時間内に応答しませんでした。</translation>
    </message>
    <message>
        <source>The line was lost</source>
        <translation>回線が切断されました</translation>
    </message>
    <message>
        <source>%1 · no answer</source>
        <translation>%1 · 応答なし</translation>
    </message>
    <message>
        <source>%1 · answered %2 s ago</source>
        <translation>%1 · %2 秒前に応答</translation>
    </message>
    <message>
        <source>&amp;%1 %2</source>
        <extracomment>A recent file: its number as the menu key, and its name.</extracomment>
        <translation>&amp;%1 %2</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <extracomment>The connection panel: the port and the device it stands for, &quot;COM3 /dev/ttyUSB0&quot;.</extracomment>
        <translation>%1 %2</translation>
    </message>
</context>
<context>
    <name>kap::NetworkAddress</name>
    <message>
        <source>unknown scheme &quot;%1&quot; (rfc2217:// or tcp://)</source>
        <translation>不明なスキーム &quot;%1&quot; です (rfc2217:// または tcp://)</translation>
    </message>
    <message>
        <source>nothing may follow the port</source>
        <translation>ポート番号の後には何も書けません</translation>
    </message>
    <message>
        <source>no user name is taken</source>
        <translation>ユーザー名は使えません</translation>
    </message>
    <message>
        <source>IPv6 address without its closing &quot;]&quot;</source>
        <translation>IPv6 アドレスに閉じる &quot;]&quot; がありません</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no IPv6 address</source>
        <translation>&quot;%1&quot; は IPv6 アドレスではありません</translation>
    </message>
    <message>
        <source>port missing (HOST:PORT)</source>
        <translation>ポート番号がありません (HOST:PORT)</translation>
    </message>
    <message>
        <source>host missing (HOST:PORT)</source>
        <translation>ホストがありません (HOST:PORT)</translation>
    </message>
    <message>
        <source>an IPv6 address goes in brackets: [%1]</source>
        <translation>IPv6 アドレスは角かっこで囲みます: [%1]</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no IPv4 address</source>
        <translation>&quot;%1&quot; は IPv4 アドレスではありません</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no host name</source>
        <translation>&quot;%1&quot; はホスト名ではありません</translation>
    </message>
    <message>
        <source>port &quot;%1&quot; is not 1 to 65535</source>
        <translation>ポート番号 &quot;%1&quot; が 1～65535 の範囲外です</translation>
    </message>
</context>
<context>
    <name>kap::NetworkSerialLine</name>
    <message>
        <source>server set %1 baud</source>
        <translation>サーバーの設定は %1 ボーです</translation>
    </message>
    <message>
        <source>server set %1 data bits</source>
        <translation>サーバーの設定はデータビット %1 です</translation>
    </message>
    <message>
        <source>server set %1 parity</source>
        <translation>サーバーの設定はパリティ %1 です</translation>
    </message>
    <message>
        <source>server set %1 stop bits</source>
        <translation>サーバーの設定はストップビット %1 です</translation>
    </message>
    <message>
        <source>server set %1 flow control</source>
        <translation>サーバーの設定はフロー制御 %1 です</translation>
    </message>
    <message>
        <source>server did not answer the RFC 2217 negotiation</source>
        <translation>サーバーが RFC 2217 のネゴシエーションに応答しません</translation>
    </message>
    <message>
        <source>connection timed out</source>
        <translation>接続がタイムアウトしました</translation>
    </message>
    <message>
        <source>%1: still connecting</source>
        <translation>%1: 接続中です</translation>
    </message>
    <message>
        <source>%1: no network address</source>
        <translation>%1: ネットワークアドレスではありません</translation>
    </message>
    <message>
        <source>connection lost</source>
        <translation>接続が切れました</translation>
    </message>
    <message>
        <source>connection refused</source>
        <translation>接続が拒否されました</translation>
    </message>
    <message>
        <source>name not found</source>
        <translation>名前が見つかりません</translation>
    </message>
    <message>
        <source>no route to host</source>
        <translation>ホストへの経路がありません</translation>
    </message>
    <message>
        <source>connection closed by the server</source>
        <translation>サーバーが接続を閉じました</translation>
    </message>
    <message>
        <source>server does not support RFC 2217</source>
        <translation>サーバーは RFC 2217 に対応していません</translation>
    </message>
    <message>
        <source>server refuses binary transmission</source>
        <translation>サーバーがバイナリ転送を拒否しました</translation>
    </message>
</context>
<context>
    <name>kap::ParameterTable</name>
    <message>
        <source>Controller type is different.</source>
        <translation>コントローラのタイプが異なります。</translation>
    </message>
    <message>
        <source>Controller type</source>
        <translation>コントローラタイプ</translation>
    </message>
    <message>
        <source>Please set the value as a multiple of 360.</source>
        <translation>360の倍数で設定してください。</translation>
    </message>
    <message>
        <source>Setting Error</source>
        <translation>設定エラー</translation>
    </message>
    <message>
        <source>%1: %2 is outside %3 to %4; back to %5</source>
        <translation>%1: %2 は %3 ～ %4 の範囲外です。%5 に戻しました</translation>
    </message>
</context>
<context>
    <name>kap::PointModeDialog</name>
    <message>
        <source>Selection in operation mode</source>
        <translation>運転モードの選択</translation>
    </message>
    <message>
        <source>Please choose the operation mode.</source>
        <translation>運転モードを選択してください。</translation>
    </message>
    <message>
        <source>A:Positioning operation (Absolute position)</source>
        <translation>A:位置決め運転（絶対位置）</translation>
    </message>
    <message>
        <source>I:Positioning operation (Increment position)</source>
        <translation>I:位置決め運転（インクリメンタル位置）</translation>
    </message>
    <message>
        <source>B :Brake</source>
        <translation>B :ブレーキ</translation>
    </message>
</context>
<context>
    <name>kap::PointTable</name>
    <message>
        <source>No  </source>
        <translation>No  </translation>
    </message>
    <message>
        <source> Mode</source>
        <translation> モード</translation>
    </message>
    <message>
        <source>Position (deg)  </source>
        <translation>位置 (deg)  </translation>
    </message>
    <message>
        <source> Speed (%)      </source>
        <translation> 速度 (%)      </translation>
    </message>
    <message>
        <source>                 Note</source>
        <translation>                 備考</translation>
    </message>
    <message>
        <source>error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>There is an error in operating mode.</source>
        <translation>運転モードに誤りがあります。</translation>
    </message>
    <message>
        <source>Please set a value within 1 to 100.</source>
        <translation>1～100の範囲で設定してください。</translation>
    </message>
</context>
<context>
    <name>kap::PortDialog</name>
    <message>
        <source>Com setup</source>
        <translation>通信設定</translation>
    </message>
    <message>
        <source>Please choose a communication port.</source>
        <translation>通信ポートを選択してください。</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>デバイス</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>説明</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>メーカー</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>シリアル番号</translation>
    </message>
    <message>
        <source>Use default</source>
        <translation>既定値を使用</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>デバイス一覧</translation>
    </message>
    <message>
        <source>%1 (set by KAP_COM%2)</source>
        <translation>%1 (KAP_COM%2 で設定)</translation>
    </message>
    <message>
        <source>The environment variable KAP_COM%1 names this device; it overrides any choice made here.</source>
        <translation>環境変数 KAP_COM%1 でこのデバイスが指定されています。ここでの選択より環境変数が優先されます。</translation>
    </message>
    <message>
        <source>%1 (default)</source>
        <translation>%1 (既定)</translation>
    </message>
    <message>
        <source>Assign to %1</source>
        <translation>%1 に割り当て</translation>
    </message>
    <message>
        <source>KAP_COM%1 is set; it names the device of %2.</source>
        <translation>KAP_COM%1 が設定されています。%2 のデバイスはこの環境変数で指定されます。</translation>
    </message>
    <message>
        <source>Device path, rfc2217://HOST:PORT or tcp://HOST:PORT</source>
        <translation>デバイスパス、rfc2217://HOST:PORT または tcp://HOST:PORT</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>テスト</translation>
    </message>
    <message>
        <source>Test %1</source>
        <translation>%1 をテスト</translation>
    </message>
    <message>
        <source>testing...</source>
        <translation>テスト中...</translation>
    </message>
    <message>
        <source>connected</source>
        <translation>接続しました</translation>
    </message>
    <message>
        <source>opened</source>
        <translation>開きました</translation>
    </message>
</context>
<context>
    <name>kap::ProgressDialog</name>
    <message>
        <source>Forwarding</source>
        <translation>転送中</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>kap::QtSerialLine</name>
    <message>
        <source>%1: permission denied. Add your user to the dialout group, then log in again.</source>
        <translation>%1: アクセスが拒否されました。ユーザーを dialout グループに追加してから、再度ログインしてください。</translation>
    </message>
    <message>
        <source>%1: in use by another program</source>
        <translation>%1: 他のプログラムが使用中です</translation>
    </message>
    <message>
        <source>%1: no such device</source>
        <translation>%1: デバイスが存在しません</translation>
    </message>
    <message>
        <source>%1: not a serial port</source>
        <translation>%1: シリアルポートではありません</translation>
    </message>
    <message>
        <source>no device for %1</source>
        <translation>%1 に対応するデバイスがありません</translation>
    </message>
</context>
<context>
    <name>kap::QuickParameterBoxes</name>
    <message>
        <source>error</source>
        <translation>エラー</translation>
    </message>
</context>
<context>
    <name>kap::SpeedCalculatorWindow</name>
    <message>
        <source>*10^-6 kg * m^2</source>
        <translation>*10^-6 kg * m^2</translation>
    </message>
    <message>
        <source>*10^-3 kg * m^2</source>
        <translation>*10^-3 kg * m^2</translation>
    </message>
    <message>
        <source>61 : TALOR3A (TALOR3)</source>
        <translation>61 : TALOR3A (TALOR3)</translation>
    </message>
    <message>
        <source>62 : TALOR5A (TALOR5)</source>
        <translation>62 : TALOR5A (TALOR5)</translation>
    </message>
    <message>
        <source>63 : TALOR10A (TALOR10)</source>
        <translation>63 : TALOR10A (TALOR10)</translation>
    </message>
    <message>
        <source>64 : TALOR20A (TALOR20)</source>
        <translation>64 : TALOR20A (TALOR20)</translation>
    </message>
    <message>
        <source>50 : TALOR1A</source>
        <translation>50 : TALOR1A</translation>
    </message>
    <message>
        <source>65 : TALOR40</source>
        <translation>65 : TALOR40</translation>
    </message>
    <message>
        <source>66 : TALOR60</source>
        <translation>66 : TALOR60</translation>
    </message>
    <message>
        <source>Rotary Actuator Operating Speed Calculation</source>
        <translation>回転アクチュエータ動作速度計算</translation>
    </message>
    <message>
        <source>Select robot type</source>
        <translation>ロボットタイプ選択</translation>
    </message>
    <message>
        <source>Start calculation</source>
        <translation>計算開始</translation>
    </message>
    <message>
        <source>Load Inertia</source>
        <translation>負荷イナーシャ</translation>
    </message>
    <message>
        <source>Setting Range</source>
        <translation>設定範囲</translation>
    </message>
    <message>
        <source>deg</source>
        <translation>deg</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Acceleration</source>
        <translation>加速度</translation>
    </message>
    <message>
        <source>Calculation results</source>
        <translation>計算結果</translation>
    </message>
    <message>
        <source>Max Speed</source>
        <translation>最高速度</translation>
    </message>
    <message>
        <source>rps</source>
        <translation>rps</translation>
    </message>
    <message>
        <source>Max Acceleration</source>
        <translation>最大加速度</translation>
    </message>
    <message>
        <source>rad/s^2</source>
        <translation>rad/s^2</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Rotary operating speed calculation</source>
        <translation>回転動作速度計算</translation>
    </message>
</context>
<context>
    <name>kap::StartupWindow</name>
    <message>
        <source>KAP Support-Software</source>
        <translation>KAP Support-Software</translation>
    </message>
    <message>
        <source>Retrieving controller type</source>
        <translation>コントローラ種別を取得中</translation>
    </message>
    <message>
        <source>Select controller type.</source>
        <translation>コントローラ種別を選択してください。</translation>
    </message>
    <message>
        <source>Point input type</source>
        <translation>ポイント入力タイプ</translation>
    </message>
    <message>
        <source>Pulse train input type</source>
        <translation>パルス列入力タイプ</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Controller type found</source>
        <translation>コントローラ種別を取得しました</translation>
    </message>
    <message>
        <source>Controller type cannot be obtained.</source>
        <translation>コントローラ種別を取得できません。</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1: no answer</source>
        <translation>%1: 応答なし</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>kap::StopDialog</name>
    <message>
        <source>STOP</source>
        <translation>STOP</translation>
    </message>
    <message>
        <source>Press STOP to pause return to origin.</source>
        <translation>原点復帰を一時停止するには STOP を押してください。</translation>
    </message>
</context>
<context>
    <name>kap::VersionWindow</name>
    <message>
        <source>Version information</source>
        <translation>バージョン情報</translation>
    </message>
    <message>
        <source>Program icon</source>
        <translation>プログラムアイコン</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Support-Software for TALOR</source>
        <translation>TALOR用サポートソフトウェア</translation>
    </message>
    <message>
        <source>TALOR Controller</source>
        <translation>TALOR コントローラ</translation>
    </message>
    <message>
        <source>Ver %1</source>
        <translation>Ver %1</translation>
    </message>
    <message>
        <source>Sets, teaches and operates TALOR rotary actuators through their controller on a serial line, and keeps their setting data in files.</source>
        <translation>シリアル回線経由でコントローラと通信し、TALOR ロータリアクチュエータの設定・ティーチング・運転を行い、設定データをファイルに保存します。</translation>
    </message>
    <message>
        <source>Warning: This program is provided as is, without warranty of any kind. Check every setting on the machine before you operate it: a wrong setting can move the actuator in a way you do not expect.</source>
        <translation>警告: 本プログラムは現状のまま提供され、いかなる保証もありません。運転前に必ず機械上ですべての設定を確認してください。設定を誤ると、アクチュエータが予期しない動作をするおそれがあります。</translation>
    </message>
</context>
<context>
    <name>kap::ZoneTable</name>
    <message>
        <source>Zone output range setting  (Set as A&lt;B.)</source>
        <translation>ゾーン出力範囲設定  （A&lt;B となるように設定してください）</translation>
    </message>
    <message>
        <source>No  </source>
        <translation>No  </translation>
    </message>
    <message>
        <source>Zone angle A (deg)     </source>
        <translation>ゾーン角度A (deg)     </translation>
    </message>
    <message>
        <source>Zone angle B (deg)     </source>
        <translation>ゾーン角度B (deg)     </translation>
    </message>
    <message>
        <source>                 Note</source>
        <translation>                 備考</translation>
    </message>
    <message>
        <source>Please set a value as 0 to 359.99 (deg).</source>
        <translation>0～359.99 (deg) の範囲で設定してください。</translation>
    </message>
    <message>
        <source>error</source>
        <translation>エラー</translation>
    </message>
</context>
</TS>
