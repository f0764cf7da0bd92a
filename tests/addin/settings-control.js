// A late-bound client none of ours: Windows Script Host creates the options-page control by its
// ProgID and reads and writes its properties through IDispatch, by name.
var page = new ActiveXObject("qorOutlook.coQORSettings");
WScript.Echo("Caption=" + page.Caption);
page.Caption = "Changed";
WScript.Echo("Caption=" + page.Caption);
WScript.Echo("Enabled=" + page.Enabled);
page.KeyPreview = true;
WScript.Echo("KeyPreview=" + page.KeyPreview);
WScript.Echo("VisibleDockClientCount=" + page.VisibleDockClientCount);
try {
  page.AxBorderStyle = 7;
  WScript.Echo("AxBorderStyle=7 accepted");
} catch (e) {
  WScript.Echo("AxBorderStyle=7 refused");
}
