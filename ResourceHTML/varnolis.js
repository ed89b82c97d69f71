// Varnolis: the page hooks for browsers without VBScript. A host injects this file into the
// page (or the page links it); it provides DisplayItem, Point and DontPoint and makes the
// pages' VBScript-style event attributes work:
//   onclick="DisplayItem 'img_x','div_x'"   onmouseover="Point 'img_x'"
//   onmouseout="DontPoint 'img_x'"          onClick="location.href='varnolis://...'"
// strPlus and strMinus come from the page head's VBScript block, which a browser without
// VBScript does not run, so they are read from that block's text.
(function () {
  "use strict";

  function headVariable(name) {
    var scripts = document.getElementsByTagName("script");
    var pattern = new RegExp(name + '="([^"]*)"');
    for (var i = 0; i < scripts.length; i++) {
      var match = pattern.exec(scripts[i].text || "");
      if (match) return match[1];
    }
    return "";
  }

  function imageSource(path) {
    if (/^[a-z][a-z0-9+.-]*:/i.test(path)) return path;
    return "file://" + path;
  }

  function byName(name) {
    return document.getElementById(name) || document.getElementsByName(name)[0] || null;
  }

  window.strPlus = window.strPlus || headVariable("strPlus");
  window.strMinus = window.strMinus || headVariable("strMinus");

  window.DisplayItem = function (imageName, elementId) {
    var img = byName(imageName);
    var el = byName(elementId);
    if (!el) return;
    if (el.style.display === "none") {
      el.style.display = "";
      if (img) img.src = imageSource(window.strMinus);
    } else {
      el.style.display = "none";
      if (img) img.src = imageSource(window.strPlus);
    }
  };

  window.Point = function (imageName) {
    var img = byName(imageName);
    if (img) {
      img.style.cursor = "pointer";
      img.className = "pointed";
    }
  };

  window.DontPoint = function (imageName) {
    var img = byName(imageName);
    if (img) {
      img.style.cursor = "default";
      img.className = "";
    }
  };

  // "Name 'a','b'" (VBScript call syntax) -> the function and its quoted arguments.
  var CALL = /^\s*(DisplayItem|Point|DontPoint)\s+(.*?)\s*$/;
  function parseCall(text) {
    var match = CALL.exec(text || "");
    if (!match) return null;
    var args = [];
    var quoted = /'([^']*)'/g;
    var arg;
    while ((arg = quoted.exec(match[2])) !== null) args.push(arg[1]);
    return { name: match[1], args: args };
  }

  var EVENTS = { onclick: "click", onmouseover: "mouseover", onmouseout: "mouseout" };

  function rewire(element) {
    for (var attribute in EVENTS) {
      var text = element.getAttribute(attribute);
      var call = parseCall(text);
      if (!call) continue;
      element.removeAttribute(attribute);
      element.addEventListener(EVENTS[attribute], (function (c) {
        return function () { window[c.name].apply(null, c.args); };
      })(call));
    }
  }

  function rewireAll() {
    var all = document.querySelectorAll("[onclick],[onmouseover],[onmouseout]");
    for (var i = 0; i < all.length; i++) rewire(all[i]);
  }

  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", rewireAll);
  } else {
    rewireAll();
  }

  window.Varnolis = { parseCall: parseCall, rewireAll: rewireAll };
})();
