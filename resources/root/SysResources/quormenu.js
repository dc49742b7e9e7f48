// Drop-down menu runtime for navigation bars written by Barwright.
//
// A generated menu script calls, in this order:
//   startMainMenu(capImage, capHeight, capWidth, orientation, spacing, justification)
//   mainMenuItem(name, ext, height, width, link, target, alt, direction, rollover, cssClass)
//     once per button; the button's menu, if any, is the submenu of the same name
//   endMainMenu(capImage, capHeight, capWidth)
//   per submenu: startSubmenu(name, menuClass, width), then submenuItem(text, link, target,
//     cssClass) per entry ("---" is a separator) or mainMenuItem(...) for an entry that opens a
//     submenu of its own (its text in place of ext), then endSubmenu(name)
// Submenus come after the items that open them, so items find their menus by name when they
// are hovered, never when they are written. Image names are taken with the script's "loc" as
// it is at the time of each call: the script clears it when it is done.
//
// Orientation 1 is a column, 2 a row; justification 0 left, 2 centre, 1 right. Direction 2
// opens a menu below its button, 1 to the right and 3 to the left.

var IE5 = false;

var quorMenu = {
  bar: null,          // the open table of the bar, while its buttons are written
  submenu: null,      // the submenu being collected, while its entries are written
  menus: {},          // name -> { element, level, width, opacity }
  items: {},          // name -> { direction, image, off, over }
  open: [],           // names of the open menus, outermost first
  closeTimer: null,
  animated: false,
  closeDelay: 400,    // milliseconds between leaving the menus and their closing
  nextId: 0
};

// Text for an HTML attribute value in double quotes.
function quorAttr(text) {
  return String(text).replace(/&(?!#?\w+;)/g, "&amp;").replace(/"/g, "&#34;").replace(/</g, "&lt;");
}

function quorLinkAttrs(link, target) {
  var html = "";
  if (link != "") html += " href=\"" + quorAttr(link) + "\"";
  if (target != "") html += " target=\"" + quorAttr(target) + "\"";
  return html;
}

function quorCapCell(capImage, capHeight, capWidth) {
  if (capImage == "") return "";
  var cell = "<td><img src=\"" + quorAttr(loc + capImage) + "\" alt=\"\" width=\"" + capWidth +
      "\" height=\"" + capHeight + "\" border=\"0\"></td>";
  return quorMenu.bar.vertical ? "<tr>" + cell + "</tr>" : cell;
}

function startMainMenu(capImage, capHeight, capWidth, orientation, spacing, justification) {
  var align = justification == 2 ? "center" : (justification == 1 ? "right" : "left");
  quorMenu.bar = { vertical: orientation == 1, align: align };
  var html = "<table class=\"quormenu-bar\" border=\"0\" cellspacing=\"" + spacing + "\" cellpadding=\"0\">";
  if (!quorMenu.bar.vertical) html += "<tr>";
  html += quorCapCell(capImage, capHeight, capWidth);
  document.write(html);
}

function endMainMenu(capImage, capHeight, capWidth) {
  var html = quorCapCell(capImage, capHeight, capWidth);
  if (!quorMenu.bar.vertical) html += "</tr>";
  document.write(html + "</table>");
  quorMenu.bar = null;
}

function mainMenuItem(name, ext, height, width, link, target, alt, direction, rollover, cssClass) {
  var events = " onmouseover=\"quorEnterItem('" + name + "')\" onmouseout=\"quorLeave('" + name + "')\"";
  if (quorMenu.submenu) {
    // An entry that opens a submenu of its own: ext holds its text.
    quorMenu.items[name] = { direction: direction };
    quorMenu.submenu.html += "<a id=\"" + name + "_item\" class=\"" + quorAttr(cssClass) + "\"" +
        quorLinkAttrs(link, target) + events + ">" + ext + "</a>";
    return;
  }
  var off = loc + name + ext;
  quorMenu.items[name] = {
    direction: direction,
    off: off,
    over: rollover == 2 ? loc + name + "_over" + ext : ""
  };
  if (rollover == 2) {
    var preload = new Image();
    preload.src = quorMenu.items[name].over;
  }
  var cell = "<td align=\"" + quorMenu.bar.align + "\"><a id=\"" + name + "_item\"" +
      quorLinkAttrs(link, target) + events + "><img name=\"" + name + "\" src=\"" +
      quorAttr(off) + "\" alt=\"" + alt + "\" width=\"" + width + "\" height=\"" + height +
      "\" border=\"0\"></a></td>";
  document.write(quorMenu.bar.vertical ? "<tr>" + cell + "</tr>" : cell);
}

function startSubmenu(name, menuClass, width) {
  var opacity = "";
  if (typeof(tr) == "string") {
    // The style sheet's transparency, for browsers that know only "opacity".
    var m = tr.match(/-moz-opacity:([0-9.]+)/);
    if (m) opacity = m[1];
  }
  quorMenu.submenu = { name: name, width: width, opacity: opacity,
    html: "<div id=\"quormenu_" + name + "\" class=\"" + quorAttr(menuClass) + "\" style=\"width:" + width + "px;" +
      (opacity != "" ? "opacity:" + opacity + ";" : "") + "\"" +
      " onmouseover=\"quorStay()\" onmouseout=\"quorLeave('')\">" };
}

function submenuItem(text, link, target, cssClass) {
  var menu = quorMenu.submenu;
  var events = " onmouseover=\"quorEnterEntry('" + menu.name + "')\"";
  if (text == "---") {
    menu.html += "<div class=\"quormenu-separator\"" + events + "><img src=\"" + quorAttr(loc + "---.gif") +
        "\" alt=\"\" width=\"" + menu.width + "\" height=\"8\" border=\"0\" style=\"display:block\"></div>";
    return;
  }
  menu.html += "<a class=\"" + quorAttr(cssClass) + "\"" + quorLinkAttrs(link, target) + events + ">" + text + "</a>";
}

function endSubmenu(name) {
  document.write(quorMenu.submenu.html + "</div>");
  quorMenu.menus[name] = { width: quorMenu.submenu.width };
  quorMenu.submenu = null;
}

function animate() {
  quorMenu.animated = true;
}

// The element of menu "name".
function quorElement(name) {
  return document.getElementById("quormenu_" + name);
}

// The level of a name: "x_b1" is 0 (a button), "x_b1_2" 1, and so on.
function quorLevel(name) {
  var m = name.match(/_b\d+((_\d+)*)$/);
  return m ? m[1].split("_").length - 1 : 0;
}

// Closes the open menus from position "keep" of the chain on.
function quorCloseFrom(keep) {
  while (quorMenu.open.length > keep) {
    var menu = quorElement(quorMenu.open.pop());
    if (menu) menu.style.visibility = "hidden";
  }
}

function quorStay() {
  if (quorMenu.closeTimer) {
    clearTimeout(quorMenu.closeTimer);
    quorMenu.closeTimer = null;
  }
}

function quorLeave(name) {
  var item = quorMenu.items[name];
  quorStay();
  quorMenu.closeTimer = setTimeout(function () {
    quorMenu.closeTimer = null;
    quorCloseFrom(0);
    quorRestoreButtons("");
  }, quorMenu.closeDelay);
}

function quorRestoreButtons(except) {
  for (var name in quorMenu.items) {
    var item = quorMenu.items[name];
    var image = item.over ? document.images[name] : null;
    if (image && name != except) image.src = item.off;
  }
}

function quorPageBox(element) {
  var r = element.getBoundingClientRect();
  var x = window.pageXOffset || document.documentElement.scrollLeft || 0;
  var y = window.pageYOffset || document.documentElement.scrollTop || 0;
  return { left: r.left + x, top: r.top + y, right: r.right + x, bottom: r.bottom + y };
}

// Opens menu "name" beside the box of what opens it (a button, or an entry of the menu box
// "outer").
function quorShow(name, box, outer, direction) {
  var menu = quorElement(name);
  if (!menu) return;
  // Menus live at the end of the page, so that no table or positioned parent moves them.
  if (menu.parentNode != document.body) document.body.appendChild(menu);
  if (direction == 2) {
    menu.style.left = box.left + "px";
    menu.style.top = box.bottom + "px";
  } else if (direction == 3) {
    menu.style.left = (outer.left - menu.offsetWidth) + "px";
    menu.style.top = box.top + "px";
  } else {
    menu.style.left = outer.right + "px";
    menu.style.top = box.top + "px";
  }
  menu.style.visibility = "visible";
  quorMenu.open.push(name);
  if (quorMenu.animated) quorUnfold(menu);
}

// Unfolds a menu from its top edge in menuFrames steps of 50 ms.
function quorUnfold(menu) {
  var steps = typeof(menuFrames) == "number" && menuFrames > 0 ? menuFrames : 0;
  if (!steps || !("clipPath" in menu.style)) return;
  var step = 0;
  var next = function () {
    step++;
    menu.style.clipPath = step >= steps ? "" : "inset(0 0 " + Math.round(100 * (1 - step / steps)) + "% 0)";
    if (step < steps) setTimeout(next, 50);
  };
  menu.style.clipPath = "inset(0 0 100% 0)";
  setTimeout(next, 50);
}

// The pointer is on a button, or on an entry that opens a submenu.
function quorEnterItem(name) {
  quorStay();
  var item = quorMenu.items[name];
  var level = quorLevel(name);
  if (level == 0) {
    quorRestoreButtons(name);
    if (item.over && document.images[name]) document.images[name].src = item.over;
  }
  quorCloseFrom(level);
  if (!quorMenu.menus[name]) return;
  var anchor = level == 0 ? document.images[name] : document.getElementById(name + "_item");
  if (!anchor) return;
  var box = quorPageBox(anchor);
  var outer = level == 0 ? box : quorPageBox(anchor.parentNode);
  quorShow(name, box, outer, item.direction);
}

// The pointer is on a plain entry of menu "menuName": deeper menus close.
function quorEnterEntry(menuName) {
  quorStay();
  quorCloseFrom(quorLevel(menuName) + 1);
}
