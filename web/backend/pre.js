// Runs inside the game's module before it starts: keeps the high-score table
// (SCRIPT/topten.scr) in the browser's IndexedDB across visits, and takes the
// game's switches from the page's query string (?-FS&-EF1).

var ABYSSOR_SAVE_DIR = '/save';
var ABYSSOR_TABLE = 'SCRIPT/topten.scr';
var abyssorSavedTable = null;
var abyssorSyncing = false;

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

function abyssorSameBytes(a, b) {
  if (!a || !b || a.length !== b.length) return false;
  for (var i = 0; i < a.length; i++)
    if (a[i] !== b[i]) return false;
  return true;
}

// Copies the table into the saved folder when the game has changed it, and
// writes that folder to IndexedDB. Cheap when nothing changed.
function abyssorSaveTable() {
  var table;
  try {
    table = FS.readFile(ABYSSOR_TABLE);
  } catch (e) {
    return;
  }
  if (abyssorSameBytes(table, abyssorSavedTable)) return;
  try {
    FS.writeFile(ABYSSOR_SAVE_DIR + '/topten.scr', table);
  } catch (e) {
    return;
  }
  abyssorSavedTable = table;
  if (abyssorSyncing) {
    abyssorSavedTable = null;  // try again once the running write is done
    return;
  }
  abyssorSyncing = true;
  FS.syncfs(false, function(error) {
    abyssorSyncing = false;
    var page = Module['abyssor'] || {};
    if (error) err('The high scores could not be kept in this browser: ' + error);
    else if (page['onTableSaved']) page['onTableSaved']();
  });
}
Module['saveTable'] = abyssorSaveTable;

// Reading the browser's database takes a while, most of all on a first visit
// (a fifth of a second here), so it is read as soon as the file system
// exists, while the program compiles and the data downloads, rather than
// after the program has compiled.
Module['preInit'] = [].concat(Module['preInit'] || [], function() {
  FS.mkdir(ABYSSOR_SAVE_DIR);
  FS.mount(IDBFS, {}, ABYSSOR_SAVE_DIR);
  addRunDependency('abyssor-saved-table');
  FS.syncfs(true, function(error) {
    if (error) err('The saved high scores could not be read: ' + error);
    removeRunDependency('abyssor-saved-table');
  });
  // By now the data package is unpacked as well: a saved table replaces the
  // one the data set brings.
  addOnPreMain(function() {
    try {
      FS.writeFile(ABYSSOR_TABLE, FS.readFile(ABYSSOR_SAVE_DIR + '/topten.scr'));
    } catch (e) {
      // no table saved yet
    }
    try {
      abyssorSavedTable = FS.readFile(ABYSSOR_TABLE);
    } catch (e) {
      abyssorSavedTable = null;
    }
    // The game rewrites the table when a name is entered and when it ends.
    setInterval(abyssorSaveTable, 500);
    var onHidden = function() {
      if (document.visibilityState === 'hidden') abyssorSaveTable();
    };
    document.addEventListener('visibilitychange', onHidden);
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
