// Bounce: a bar of light going from one side of the grid to the other and back.
(function () {
    var algo = new Object;
    algo.apiVersion = 2;
    algo.name = "Bounce";
    algo.author = "Lm740";
    algo.acceptColors = 1;
    algo.properties = [];

    var orientations = ["Horizontal", "Vertical"];
    algo.orientation = 0;
    algo.size = 2;

    algo.properties.push("name:orientation|type:list|display:Moving|values:Horizontal,Vertical|" +
                         "write:setOrientation|read:getOrientation");
    algo.setOrientation = function (value) {
        var i = orientations.indexOf(String(value));
        if (i >= 0)
            algo.orientation = i;
    };
    algo.getOrientation = function () { return orientations[algo.orientation]; };

    algo.properties.push("name:size|type:integer|display:Bar width|write:setSize|read:getSize");
    algo.setSize = function (value) {
        var n = parseInt(value, 10);
        if (!isNaN(n))
            algo.size = Math.max(1, Math.min(99, n));
    };
    algo.getSize = function () { return algo.size; };

    // How far the bar travels: it turns at either side without standing there twice.
    function travel(width, height) {
        return Math.max(0, (algo.orientation === 0 ? width : height) - algo.size);
    }

    algo.rgbMapStepCount = function (width, height) {
        return Math.max(1, 2 * travel(width, height));
    };

    algo.rgbMap = function (width, height, rgb, step) {
        var t = travel(width, height);
        var at = step <= t ? step : 2 * t - step;
        var map = new Array(height);
        for (var y = 0; y < height; y++) {
            map[y] = new Array(width);
            for (var x = 0; x < width; x++) {
                var p = algo.orientation === 0 ? x : y;
                map[y][x] = p >= at && p < at + algo.size ? rgb : 0;
            }
        }
        return map;
    };

    return algo;
})()
