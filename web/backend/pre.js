// Runs inside the game's module before it starts: keeps the high-score table
// (SCRIPT/topten.scr) in the browser's local storage across visits, and takes
// the game's switches from the page's query string (?-FS&-EF1).

var ABYSSOR_TABLE = 'SCRIPT/topten.scr';
// The table is a few hundred bytes, kept as text, a character a byte. Local
// storage is read at once, where the browser's database took a third of a
// second to open on a first visit, before the game could read its table.
var ABYSSOR_TABLE_KEY = 'abyssor-topten';
var abyssorSavedTable = null;

if (!Module['arguments'] && typeof location !== 'undefined') {
  Module['arguments'] = location.search.substring(1).split('&').map(function(part) {
    try {
      return decodeURIComponent(part);
    } catch (e) {
      return '';
    }
  }).filter(function(part) {
    return part.charAt(0) === '-';
  });
}

function abyssorReadTable() {
  try {
    var bytes = FS.readFile(ABYSSOR_TABLE);
    var text = '';
    for (var i = 0; i < bytes.length; i++) text += String.fromCharCode(bytes[i]);
    return text;
  } catch (e) {
    return null;
  }
}

// Keeps the table when the game has changed it. Cheap when nothing changed.
function abyssorSaveTable() {
  var table = abyssorReadTable();
  if (table === null || table === abyssorSavedTable) return;
  abyssorSavedTable = table;
  try {
    localStorage.setItem(ABYSSOR_TABLE_KEY, table);
  } catch (e) {
    err('The high scores could not be kept in this browser: ' + e);
    return;
  }
  var page = Module['abyssor'] || {};
  if (page['onTableSaved']) page['onTableSaved']();
}
Module['saveTable'] = abyssorSaveTable;

// Once the data is in the file system, before the game reads it, a saved
// table replaces the one the data brings.
Module['preInit'] = [].concat(Module['preInit'] || [], function() {
  addOnPreMain(function() {
    var saved = null;
    try {
      saved = localStorage.getItem(ABYSSOR_TABLE_KEY);
    } catch (e) {
      // no storage: the table lasts as long as the page
    }
    if (saved !== null) {
      var bytes = new Uint8Array(saved.length);
      for (var i = 0; i < saved.length; i++) bytes[i] = saved.charCodeAt(i);
      FS.writeFile(ABYSSOR_TABLE, bytes);
    }
    abyssorSavedTable = abyssorReadTable();
    // The game rewrites the table when a name is entered and when it ends.
    setInterval(abyssorSaveTable, 500);
    document.addEventListener('visibilitychange', abyssorSaveTable);
    window.addEventListener('pagehide', abyssorSaveTable);
  });
});

// The game's main returns long after the page started it, having slept many
// times on the way: the program then ends as it would anywhere else, and the
// page learns of it through onExit.
Module['postRun'] = Module['postRun'] || [];
Module['postRun'].push(function() {
  if (!Asyncify.currData) return;
  Asyncify.whenDone().then(function(status) {
    try {
      exit(status);
    } catch (e) {
      if (!(e instanceof ExitStatus)) throw e;
    }
  });
});
