// A client of the driver the installer put in place: creates ZORFP.ZOR_05_03 by its ProgID and
// talks to the simulator on COM<port>.   cscript //nologo installed_client.js PORT
// Wine's cscript swallows uncaught errors and exits 0: everything is caught, and the script ends
// with its marker line and its own exit code.
var passed = 0, failed = 0;

function check(name, ok, detail) {
  WScript.Echo((ok ? "PASS " : "FAIL ") + name + (detail === undefined ? "" : ": " + detail));
  if (ok) ++passed; else ++failed;
}

try {
  var port = parseInt(WScript.Arguments(0), 10);
  var fp = new ActiveXObject("ZORFP.ZOR_05_03");
  check("ZORFP.ZOR_05_03 is created through the installed registration", fp !== null);
  check("FPInit opens COM" + port, fp.FPInit(port, 9600, 1, 1) === true, fp.GetTextErrorMessage);
  var serial = fp.GetSerialNumber;
  check("the simulated printer's serial number", typeof serial === "string" && serial.length > 0, serial);
  check("FPGetCurrentStatus", fp.FPGetCurrentStatus() === true, fp.GetByteResult);
  fp.FPClose();
} catch (e) {
  check("no automation error", false, e.message);
}
WScript.Echo(passed + " passed, " + failed + " failed");
WScript.Echo("SCRIPT DONE");
WScript.Quit(failed);
