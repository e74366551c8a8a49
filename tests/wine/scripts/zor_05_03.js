// A JScript client of ZORFP.ZOR_05_03 against the simulator on COM<port>:
//   cscript //nologo zor_05_03.js PORT UNBUILT_MEMBER
// Wine's cscript swallows uncaught errors and exits 0, so everything is caught here, and the
// script ends with its marker line and its own exit code.
var passed = 0, failed = 0;

function check(name, ok, detail) {
  WScript.Echo((ok ? "PASS " : "FAIL ") + name + (detail === undefined ? "" : ": " + detail));
  if (ok) ++passed; else ++failed;
}

function hex(n) {
  return "0x" + (n >>> 0).toString(16).toUpperCase();
}

// Runs fn, which must fail; returns the error.
function failure(fn) {
  try {
    fn();
  } catch (e) {
    return e;
  }
  return null;
}

function main() {
  var port = parseInt(WScript.Arguments(0), 10);
  var unbuilt = WScript.Arguments(1);
  var fp = new ActiveXObject("ZORFP.ZOR_05_03");
  var other = new ActiveXObject("ZORFP.ZOR_EP_01");

  // Settings: Lang is one per class, the others one for the whole library.
  fp.Lang = 0;
  check("Lang reads back what was written", fp.Lang === 0, fp.Lang);
  check("another class keeps its own Lang", other.Lang === 1, other.Lang);
  other.RepeatCount = 3;
  check("RepeatCount is shared by every class", fp.RepeatCount === 3, fp.RepeatCount);
  fp.RepeatCount = 2;
  check("AnswerWaiting starts at 1", fp.AnswerWaiting === 1, fp.AnswerWaiting);

  // Opening: a missing port, then the simulator's.
  fp.Lang = 1;
  check("a missing port does not open", fp.FPInit(199, 9600, 1, 1) === false);
  check("its Russian text", fp.GetTextErrorMessage === "\u041f\u043e\u0440\u0442 \u0437\u0430\u043d\u044f\u0442!",
        fp.GetTextErrorMessage);
  fp.LogRecord = true;  // the suite reads the log beside the DLL afterwards
  check("FPInit opens COM" + port, fp.FPInit(port, 9600, 1, 1) === true);
  var serial = fp.GetSerialNumber;
  check("the printer's serial number", typeof serial === "string" && serial.length > 0, serial);
  check("a successful command reads result 0, status 0, no text",
        fp.GetByteResult === 0 && fp.GetByteStatus === 0 && fp.GetTextErrorMessage === "");
  check("FPGetCurrentStatus", fp.FPGetCurrentStatus() === true);

  // A refused argument: its code and its text in each language.
  check("speed index 3 is refused", fp.FPChangeBaudRate(3, false) === false);
  check("with code 111 and status 255", fp.GetByteResult === 111 && fp.GetByteStatus === 255,
        fp.GetByteResult + " " + fp.GetByteStatus);
  check("Russian text",
        fp.GetTextErrorMessage === "\u041d\u0435\u0432\u0435\u0440\u043d\u043e \u0437\u0430\u0434\u0430\u043d\u0430 " +
        "\u0441\u043a\u043e\u0440\u043e\u0441\u0442\u044c \u0441\u0432\u044f\u0437\u0438!", fp.GetTextErrorMessage);
  fp.Lang = 2;
  fp.FPChangeBaudRate(3, false);
  check("Ukrainian text",
        fp.GetTextErrorMessage === "\u041d\u0435\u0432\u0456\u0440\u043d\u043e \u0437\u0430\u0434\u0430\u043d\u0430 " +
        "\u0448\u0432\u0438\u0434\u043a\u0456\u0441\u0442\u044c \u0437\u0432'\u044f\u0437\u043a\u0443!",
        fp.GetTextErrorMessage);
  fp.Lang = 0;
  fp.FPChangeBaudRate(3, false);
  check("English text", fp.GetTextErrorMessage === "Incorrect baud rate!", fp.GetTextErrorMessage);

  // A whole receipt. The article code is a 64-bit value: scripts pass it as decimal text, and the
  // tax group may be named.
  var sale = fp.FPSale(2, 0, false, 1250, 0, false, "\u041c\u043e\u043b\u043e\u043a\u043e 2,5%", "4820000000017");
  check("FPSale with the article code as text", sale === true, fp.GetByteResult + " " + fp.GetTextErrorMessage);
  sale = fp.FPSale(1, 0, false, 300, "etgTax_A", false, "\u0425\u043b\u0435\u0431", "281474976710655");
  check("FPSale with a named tax group", sale === true, fp.GetByteResult + " " + fp.GetTextErrorMessage);
  check("the receipt's total", fp.GetCheckTotal === 2800, fp.GetCheckTotal);
  check("FPPayment in cash closes the receipt", fp.FPPayment(3, 3000, true, true) === true,
        fp.GetByteResult + " " + fp.GetTextErrorMessage);
  check("the change", fp.GetBalance === 200 && fp.GetBalanceType === true, fp.GetBalance + " " + fp.GetBalanceType);

  // Failures that reach the script as errors.
  var e = failure(function () { fp.NoSuchMember(); });
  check("an unknown member fails cleanly", e !== null && (e.number >>> 0) === 0x800A01B6, e && hex(e.number));
  e = failure(function () { fp.FPInit("COM", 9600, 1, 1); });
  check("a text where a number belongs fails cleanly", e !== null, e && hex(e.number) + " " + e.description);
  if (unbuilt !== "-") {
    e = failure(function () { fp[unbuilt](); });
    check("an automation failure carries its message",
          e !== null && (e.number >>> 0) === 0x80004001 && e.description === unbuilt + " is not implemented in this build",
          e && hex(e.number) + " " + e.description);
  }

  // What one call costs from a script: a property read, no printer traffic.
  var calls = 300, start = new Date().getTime();
  for (var i = 0; i < calls; ++i) fp.Lang;
  WScript.Echo("script call: " + ((new Date().getTime() - start) / calls).toFixed(2) + " ms");

  check("FPClose", fp.FPClose() === true);
}

try {
  main();
} catch (e) {
  check("the script runs through", false, hex(e.number) + " " + e.description);
}
WScript.Echo("SCRIPT DONE " + passed + " passed, " + failed + " failed");
WScript.Quit(failed === 0 && passed > 0 ? 0 : 1);
