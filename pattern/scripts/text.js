// Scrolling text: a line of text moving across the grid (or up and down it, one letter under
// the other) in a small pixel font, seven cells high. The colour goes from the start colour to
// the end colour; the loop starts and ends with the text just out of sight.
(function () {
    var algo = new Object;
    algo.apiVersion = 2;
    algo.name = "Scrolling text";
    algo.author = "Lm740";
    algo.acceptColors = 2;
    algo.properties = [];

    var directions = ["Left", "Right", "Up", "Down"];
    var longest = 200; // letters; enough for any sign, and a loop no longer than a few thousand steps
    algo.text = "LM740";
    algo.direction = 0;

    algo.properties.push("name:text|type:string|display:Text|write:setText|read:getText");
    algo.setText = function (value) {
        algo.text = String(value).substring(0, longest);
    };
    algo.getText = function () { return algo.text; };

    algo.properties.push("name:direction|type:list|display:Moving|values:Left,Right,Up,Down|" +
                         "write:setDirection|read:getDirection");
    algo.setDirection = function (value) {
        var i = directions.indexOf(String(value));
        if (i >= 0)
            algo.direction = i;
    };
    algo.getDirection = function () { return directions[algo.direction]; };

    // Each letter as its columns from left to right, bit 0 the top row. Small letters are drawn
    // as capitals; a letter the font lacks as "?".
    var font = {
        "A": [126, 9, 9, 9, 126], "B": [127, 73, 73, 73, 54], "C": [62, 65, 65, 65, 34],
        "D": [127, 65, 65, 65, 62], "E": [127, 73, 73, 73, 65], "F": [127, 9, 9, 9, 1],
        "G": [62, 65, 73, 73, 122], "H": [127, 8, 8, 8, 127], "I": [65, 127, 65],
        "J": [32, 64, 65, 63, 1], "K": [127, 8, 20, 34, 65], "L": [127, 64, 64, 64, 64],
        "M": [127, 2, 12, 2, 127], "N": [127, 4, 8, 16, 127], "O": [62, 65, 65, 65, 62],
        "P": [127, 9, 9, 9, 6], "Q": [62, 65, 81, 33, 94], "R": [127, 9, 25, 41, 70],
        "S": [70, 73, 73, 73, 49], "T": [1, 1, 127, 1, 1], "U": [63, 64, 64, 64, 63],
        "V": [31, 32, 64, 32, 31], "W": [63, 64, 56, 64, 63], "X": [99, 20, 8, 20, 99],
        "Y": [3, 4, 120, 4, 3], "Z": [97, 81, 73, 69, 67], "0": [62, 81, 73, 69, 62],
        "1": [66, 127, 64], "2": [66, 97, 81, 73, 70], "3": [33, 65, 69, 75, 49],
        "4": [24, 20, 18, 127, 16], "5": [39, 69, 69, 69, 57], "6": [60, 74, 73, 73, 48],
        "7": [1, 113, 9, 5, 3], "8": [54, 73, 73, 73, 54], "9": [6, 73, 73, 41, 30],
        " ": [0, 0, 0], "!": [95], ".": [64], ",": [64, 32], ":": [34], ";": [64, 34], '\'': [3],
        "\"": [3, 0, 3], "-": [8, 8, 8, 8], "+": [8, 8, 62, 8, 8], "=": [20, 20, 20, 20],
        "*": [42, 28, 62, 28, 42], "/": [96, 16, 8, 4, 3], "(": [28, 34, 65], ")": [65, 34, 28],
        "?": [2, 1, 81, 9, 6], "&": [54, 73, 85, 34, 80], "#": [20, 127, 20, 127, 20],
        "%": [99, 19, 8, 100, 99], "_": [64, 64, 64, 64], "<": [8, 20, 34, 65],
        ">": [65, 34, 20, 8], "@": [62, 65, 93, 85, 94], "\u2665": [12, 30, 60, 30, 12]
    };
    var letterHeight = 7;

    function glyph(ch) {
        var g = font[ch];
        if (g === undefined)
            g = font[ch.toUpperCase()];
        return g === undefined ? font["?"] : g;
    }

    // The text as columns side by side, one dark column between letters.
    function columns() {
        var cols = [];
        for (var i = 0; i < algo.text.length; i++) {
            if (i > 0)
                cols.push(0);
            cols = cols.concat(glyph(algo.text.charAt(i)));
        }
        return cols;
    }

    // Going up or down, the letters stand one under the other, a dark row between them.
    function tallLength() {
        return algo.text.length === 0 ? 0 : algo.text.length * (letterHeight + 1) - 1;
    }

    algo.rgbMapStepCount = function (width, height) {
        var length = algo.direction < 2 ? columns().length + width : tallLength() + height;
        return Math.max(1, length);
    };

    function dark(width, height) {
        var map = new Array(height);
        for (var y = 0; y < height; y++) {
            map[y] = new Array(width);
            for (var x = 0; x < width; x++)
                map[y][x] = 0;
        }
        return map;
    }

    algo.rgbMap = function (width, height, rgb, step) {
        var map = dark(width, height);
        var x, y, bits;
        if (algo.direction < 2) {
            var cols = columns();
            // Where the text's first column is: just off the grid on the side it comes from.
            var left = algo.direction === 0 ? width - step : step - cols.length;
            var top = Math.floor((height - letterHeight) / 2);
            for (var c = 0; c < cols.length; c++) {
                x = left + c;
                if (x < 0 || x >= width)
                    continue;
                for (bits = cols[c], y = 0; bits; y++, bits >>= 1)
                    if ((bits & 1) && top + y >= 0 && top + y < height)
                        map[top + y][x] = rgb;
            }
            return map;
        }
        var first = algo.direction === 2 ? height - step : step - tallLength();
        for (var i = 0; i < algo.text.length; i++) {
            var g = glyph(algo.text.charAt(i));
            var gx = Math.floor((width - g.length) / 2);
            var gy = first + i * (letterHeight + 1);
            if (gy >= height || gy + letterHeight <= 0)
                continue;
            for (var k = 0; k < g.length; k++) {
                x = gx + k;
                if (x < 0 || x >= width)
                    continue;
                for (bits = g[k], y = 0; bits; y++, bits >>= 1)
                    if ((bits & 1) && gy + y >= 0 && gy + y < height)
                        map[gy + y][x] = rgb;
            }
        }
        return map;
    };

    return algo;
})()
